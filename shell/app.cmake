# The shell program's windows live in shell/app: they are kept out of the
# shell core library (which its tests link without any window) and make the
# shell_app library and the QuillorantixShell program.
get_target_property(qx_shell_srcs shell SOURCES)
list(FILTER qx_shell_srcs EXCLUDE REGEX "/shell/app/")
set_target_properties(shell PROPERTIES SOURCES "${qx_shell_srcs}")

file(GLOB_RECURSE qx_shell_app_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/app/*.cpp)
list(FILTER qx_shell_app_srcs EXCLUDE REGEX "/ShellMain\\.cpp$")
add_library(shell_app STATIC ${qx_shell_app_srcs})
target_link_libraries(shell_app PUBLIC shell framework engine image foundation)

set(QX_SHELL_RC ${CMAKE_CURRENT_LIST_DIR}/app/res/Shell.rc)
set(QX_SHELL_RC ${CMAKE_CURRENT_LIST_DIR}/app/res/Shell.rc PARENT_SCOPE)
set_source_files_properties(${QX_SHELL_RC} PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_LIST_DIR}/app/ShellResources.h;${CMAKE_CURRENT_LIST_DIR}/app/res/toolbar.bmp;${CMAKE_CURRENT_LIST_DIR}/app/res/shell.ico;${CMAKE_CURRENT_LIST_DIR}/app/res/image.ico")
add_executable(QuillorantixShell WIN32 ${CMAKE_CURRENT_LIST_DIR}/app/ShellMain.cpp ${QX_SHELL_RC})
# The dialogs' templates (no id of the same type is shared with Shell.rc).
target_link_libraries(QuillorantixShell PRIVATE shell_app shell_dialog_resources)
