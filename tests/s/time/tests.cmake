# Suites that need a particular time zone; each runs in its own process with TZ set.
kairon_env_test(TARGET ${TEST_TARGET} NAME utc FILTER "UtcEnv.*" ENV "TZ=UTC")
kairon_env_test(TARGET ${TEST_TARGET} NAME tokyo FILTER "TokyoEnv.*" ENV "TZ=Asia/Tokyo")
kairon_env_test(TARGET ${TEST_TARGET} NAME kolkata FILTER "KolkataEnv.*" ENV "TZ=Asia/Kolkata")
kairon_env_test(TARGET ${TEST_TARGET} NAME stjohns FILTER "StJohnsEnv.*" ENV "TZ=America/St_Johns")
kairon_env_test(TARGET ${TEST_TARGET} NAME newyork FILTER "NewYorkEnv.*" ENV "TZ=America/New_York")
kairon_env_test(TARGET ${TEST_TARGET} NAME sydney FILTER "SydneyEnv.*" ENV "TZ=Australia/Sydney")
kairon_env_test(TARGET ${TEST_TARGET} NAME firstuse FILTER "ZoneListFirstUseEnv.*" ENV "TZ=Asia/Tokyo")
kairon_env_test(TARGET ${TEST_TARGET} NAME english FILTER "EnglishLocaleEnv.*" ENV "LC_ALL=en_US.UTF-8")
kairon_env_test(TARGET ${TEST_TARGET} NAME german FILTER "GermanLocaleEnv.*" ENV "LC_ALL=de_DE.UTF-8")
kairon_env_test(TARGET ${TEST_TARGET} NAME german_berlin FILTER "GermanBerlinEnv.*"
                ENV "LC_ALL=de_DE.UTF-8;TZ=Europe/Berlin")
kairon_env_test(TARGET ${TEST_TARGET} NAME japanese_utc FILTER "JapaneseUtcEnv.*" ENV "LC_ALL=ja_JP.UTF-8;TZ=UTC")
# Wine keeps the user's locale settings in the prefix's registry and rewrites them when a
# process starts under another language, so locale suites must not overlap other tests.
set_tests_properties(${TEST_TARGET}.english ${TEST_TARGET}.german PROPERTIES RUN_SERIAL TRUE)
