# The file-time dialog in particular zones.
kairon_env_test(TARGET ${TEST_TARGET} NAME tokyo FILTER "FileTimeDialogTokyoEnv.*" ENV "TZ=Asia/Tokyo")
kairon_env_test(TARGET ${TEST_TARGET} NAME newyork FILTER "FileTimeDialogNewYorkEnv.*" ENV "TZ=America/New_York")
