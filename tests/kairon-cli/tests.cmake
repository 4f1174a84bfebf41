# The tests run the real kairon-cli.exe, which lives in the build folder (their working folder).
add_dependencies(${TEST_TARGET} kairon-cli)
