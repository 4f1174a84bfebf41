# The file-time dialog in particular zones.
kairon_env_test(TARGET ${TEST_TARGET} NAME tokyo FILTER "FileTimeDialogTokyoEnv.*" ENV "TZ=Asia/Tokyo")
kairon_env_test(TARGET ${TEST_TARGET} NAME newyork FILTER "FileTimeDialogNewYorkEnv.*" ENV "TZ=America/New_York")
kairon_env_test(TARGET ${TEST_TARGET} NAME german FILTER "FileTimeDialogGermanEnv.*" ENV "LC_ALL=de_DE.UTF-8")
kairon_env_test(TARGET ${TEST_TARGET} NAME japanese FILTER "FileTimeDialogJapaneseEnv.*" ENV "LC_ALL=ja_JP.UTF-8")
# The language pack is compiled into the test program: a changed pack rebuilds it.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/langpack.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/src/kairon/res/langpack.xml)
# Keys reach the active window only: nothing else may run meanwhile.
kairon_env_test(TARGET ${TEST_TARGET} NAME foreground FILTER "FileTimeDialogForegroundEnv.*" ENV "KAIRON_FOREGROUND_TEST=1")
set_tests_properties(${TEST_TARGET}.foreground PROPERTIES RUN_SERIAL TRUE)
