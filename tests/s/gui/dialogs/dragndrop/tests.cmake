# The main window at 96 and at 144 DPI: the entry sets the prefix's LogPixels for processes
# of its own and puts it back; no other test may start while it is set.
kairon_env_test(TARGET ${TEST_TARGET} NAME dpi FILTER "MainWindowDpiEnv.*")
set_tests_properties(${TEST_TARGET}.dpi PROPERTIES RUN_SERIAL TRUE)
