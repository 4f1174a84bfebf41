# A window whose thread hangs leaves that thread suspended: run it in a process of its own.
kairon_env_test(TARGET ${TEST_TARGET} NAME hung_thread FILTER "WindowHungThreadEnv.*" ENV "KAIRON_HUNG_THREAD_TEST=1")
