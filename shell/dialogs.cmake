# The dialog classes live in the shell library and need the framework. Their
# templates and pictures are an object library: whatever shows the dialogs
# (the shell program, shell_tests) links shell_dialog_resources.
target_link_libraries(shell PUBLIC framework)
add_library(shell_dialog_resources OBJECT ${CMAKE_CURRENT_LIST_DIR}/dialogs/ShellDialogs.rc)
target_include_directories(shell_dialog_resources PRIVATE ${CMAKE_SOURCE_DIR})
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/dialogs/ShellDialogs.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/dialogs/ShellDialogIds.h;${CMAKE_CURRENT_LIST_DIR}/dialogs/res/busy.bmp;${CMAKE_CURRENT_LIST_DIR}/dialogs/res/ready.bmp")
