# The system's language comes from the process's UI language, which Wine takes from LC_ALL.
kairon_env_test(TARGET ${TEST_TARGET} NAME japanese FILTER "LocalizerJapaneseEnv.*" ENV "LC_ALL=ja_JP.UTF-8")
kairon_env_test(TARGET ${TEST_TARGET} NAME german FILTER "LocalizerGermanEnv.*" ENV "LC_ALL=de_DE.UTF-8")
# The language pack is compiled into the test program: a changed pack rebuilds it.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/langpack.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/src/kairon/res/langpack.xml)
