# Time round trips under a zone with daylight saving.
kairon_env_test(TARGET ${TEST_TARGET} NAME new_york FILTER "TimeRoundTripEnv.*" ENV "TZ=America/New_York")
kairon_env_test(TARGET ${TEST_TARGET} NAME sydney FILTER "TimeRoundTripEnv.*" ENV "TZ=Australia/Sydney")
