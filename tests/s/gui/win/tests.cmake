# The widget gallery in Japanese: the program's language pack follows the process's UI
# language, which Wine takes from LC_ALL.
kairon_env_test(TARGET ${TEST_TARGET} NAME gallery_japanese FILTER "GalleryJapaneseEnv.*" ENV "LC_ALL=ja_JP.UTF-8")
# A held button keeps its hold only while its window keeps the foreground and the pointer
# stays on it; windows of test programs running alongside take both away, so these widget
# tests run alone.
set_tests_properties(${TEST_TARGET} PROPERTIES RUN_SERIAL TRUE)
