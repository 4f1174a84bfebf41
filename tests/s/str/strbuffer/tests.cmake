# Conversions through a double-byte OEM/ANSI code page need a Japanese system.
kairon_env_test(TARGET ${TEST_TARGET} NAME japanese FILTER "StrBufferJapaneseEnv.*" ENV "LC_ALL=ja_JP.UTF-8")
