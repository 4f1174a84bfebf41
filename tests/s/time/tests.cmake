# Suites that need a particular time zone; each runs in its own process with TZ set.
kairon_env_test(TARGET ${TEST_TARGET} NAME utc FILTER "UtcEnv.*" ENV "TZ=UTC")
kairon_env_test(TARGET ${TEST_TARGET} NAME tokyo FILTER "TokyoEnv.*" ENV "TZ=Asia/Tokyo")
kairon_env_test(TARGET ${TEST_TARGET} NAME kolkata FILTER "KolkataEnv.*" ENV "TZ=Asia/Kolkata")
kairon_env_test(TARGET ${TEST_TARGET} NAME stjohns FILTER "StJohnsEnv.*" ENV "TZ=America/St_Johns")
kairon_env_test(TARGET ${TEST_TARGET} NAME newyork FILTER "NewYorkEnv.*" ENV "TZ=America/New_York")
kairon_env_test(TARGET ${TEST_TARGET} NAME sydney FILTER "SydneyEnv.*" ENV "TZ=Australia/Sydney")
kairon_env_test(TARGET ${TEST_TARGET} NAME firstuse FILTER "ZoneListFirstUseEnv.*" ENV "TZ=Asia/Tokyo")
