# The tests run the real kairon-cli.exe, which lives in the build folder (their working folder).
add_dependencies(${TEST_TARGET} kairon-cli)
# Local times under a zone with daylight saving (the child inherits TZ).
kairon_env_test(TARGET ${TEST_TARGET} NAME berlin FILTER "CliBerlinEnv.*" ENV "TZ=Europe/Berlin")
