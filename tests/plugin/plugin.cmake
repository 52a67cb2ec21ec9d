# The tests load the plug-in DLL from their own folder, as a host would, and
# compare against baselines kept beside the sources.
add_dependencies(plugin_tests Quillorantix_Daubcrafter)
target_compile_definitions(plugin_tests PRIVATE
    QX_GOLDEN_DIR="${CMAKE_CURRENT_LIST_DIR}/golden")
# The developer filter host as a command of its own (scripts/filterhost):
# paints a picture through ENTRYPOINT1. Its main is not part of the tests.
get_target_property(plugin_test_srcs plugin_tests SOURCES)
list(FILTER plugin_test_srcs EXCLUDE REGEX "/FilterHostMain\\.cpp$")
set_property(TARGET plugin_tests PROPERTY SOURCES ${plugin_test_srcs})
if(TARGET bench_support)
    add_executable(filter_host ${CMAKE_CURRENT_LIST_DIR}/FilterHost.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/FilterHostMain.cpp)
    target_include_directories(filter_host PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(filter_host PRIVATE plugin bench_support image foundation)
    add_dependencies(filter_host Quillorantix_Daubcrafter)
endif()
