# Test plug-ins: one DLL per behaviour, written to bin/testplugins as the
# shell's plug-in files. The dependency of the missing-dependency plug-in is
# built into a folder the loader never searches.
add_library(qx_absent_dependency SHARED ${CMAKE_CURRENT_LIST_DIR}/plugins/AbsentDependency.cc)
set_target_properties(qx_absent_dependency PROPERTIES PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/absent)
foreach(variant good nan liar noexport fpu missingdep slow)
    string(TOUPPER ${variant} upper)
    add_library(qx_test_${variant} SHARED ${CMAKE_CURRENT_LIST_DIR}/plugins/TestPlugin.cc)
    target_compile_definitions(qx_test_${variant} PRIVATE QX_TEST_PLUGIN=QX_${upper})
    target_include_directories(qx_test_${variant} PRIVATE ${CMAKE_SOURCE_DIR})
    set_target_properties(qx_test_${variant} PROPERTIES PREFIX "" SUFFIX ".qlplg"
        OUTPUT_NAME ${variant} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/testplugins)
    add_dependencies(shell_tests qx_test_${variant})
endforeach()
target_link_libraries(qx_test_missingdep PRIVATE qx_absent_dependency)
if(TARGET Quillorantix_Daubcrafter)
    add_dependencies(shell_tests Quillorantix_Daubcrafter)
endif()
