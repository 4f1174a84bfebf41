# The widget gallery in Japanese: the program's language pack follows the process's UI
# language, which Wine takes from LC_ALL.
kairon_env_test(TARGET ${TEST_TARGET} NAME gallery_japanese FILTER "GalleryJapaneseEnv.*" ENV "LC_ALL=ja_JP.UTF-8")
