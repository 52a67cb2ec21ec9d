# Dialog templates and a string of the framework test executable.
target_sources(framework_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FrameworkTest.rc)
