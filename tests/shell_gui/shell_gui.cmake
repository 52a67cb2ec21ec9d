# The program's resources, and the plug-ins the start-up scan loads.
target_sources(shell_gui_tests PRIVATE ${QX_SHELL_RC})
target_link_libraries(shell_gui_tests PRIVATE shell_dialog_resources)
if(TARGET Quillorantix_Daubcrafter)
    add_dependencies(shell_gui_tests Quillorantix_Daubcrafter)
endif()
# The slow test plug-in, cancelled from the progress window.
add_dependencies(shell_gui_tests qx_test_slow)
# The program itself, started as the desktop starts it.
add_dependencies(shell_gui_tests QuillorantixShell)
