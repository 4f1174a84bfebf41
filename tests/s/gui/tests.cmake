# A window whose thread hangs leaves that thread suspended: run it in a process of its own.
kairon_env_test(TARGET ${TEST_TARGET} NAME hung_thread FILTER "WindowHungThreadEnv.*" ENV "KAIRON_HUNG_THREAD_TEST=1")
# The layout at the prefix's DPI (LogPixels, read when a process starts). The entries
# change the prefix's DPI for the time of their run, so nothing else may run meanwhile.
kairon_env_test(TARGET ${TEST_TARGET} NAME dpi96 FILTER "DpiEnv.*" ENV "KAIRON_DPI=96")
kairon_env_test(TARGET ${TEST_TARGET} NAME dpi144 FILTER "DpiEnv.*" ENV "KAIRON_DPI=144")
set_tests_properties(${TEST_TARGET}.dpi96 ${TEST_TARGET}.dpi144 PROPERTIES RUN_SERIAL TRUE)
# Activation and focus between windows: nothing else may run meanwhile (another test
# program's window takes the foreground).
kairon_env_test(TARGET ${TEST_TARGET} NAME focus FILTER "WindowFocusEnv.*" ENV "KAIRON_FOREGROUND_TEST=1")
set_tests_properties(${TEST_TARGET}.focus PROPERTIES RUN_SERIAL TRUE)
