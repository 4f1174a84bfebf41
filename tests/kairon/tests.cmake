target_link_libraries(${TEST_TARGET} PRIVATE kairon_app)
add_dependencies(${TEST_TARGET} Kairon)
add_dependencies(${TEST_TARGET} kairon-cli)
