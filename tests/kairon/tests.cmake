target_link_libraries(${TEST_TARGET} PRIVATE kairon_app)
add_dependencies(${TEST_TARGET} Kairon)
add_dependencies(${TEST_TARGET} kairon-cli)
# These tests start the real program, up to fifty processes at once, and drive its windows
# with the pointer and the foreground: alone, they neither starve nor are disturbed by others.
set_tests_properties(${TEST_TARGET} PROPERTIES RUN_SERIAL TRUE)
