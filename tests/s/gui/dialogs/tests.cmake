# The confirmation dialog's texts in the user's language: the program's language pack
# follows the process's UI language, which Wine takes from LC_ALL.
kairon_env_test(TARGET ${TEST_TARGET} NAME flexasker_german FILTER "FlexAskerLanguageEnv.*" ENV "LC_ALL=de_DE.UTF-8")
kairon_env_test(TARGET ${TEST_TARGET} NAME flexasker_japanese FILTER "FlexAskerLanguageEnv.*" ENV "LC_ALL=ja_JP.UTF-8")
