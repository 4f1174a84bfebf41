# At 144 DPI: the entry sets the prefix's LogPixels for a process of its own and puts it
# back; no other test may start while it is set.
kairon_env_test(TARGET ${TEST_TARGET} NAME dpi144 FILTER "DpiEnv.*")
set_tests_properties(${TEST_TARGET}.dpi144 PROPERTIES RUN_SERIAL TRUE)
