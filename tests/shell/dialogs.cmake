# The shell dialogs' templates and pictures.
target_link_libraries(shell_tests PRIVATE shell_dialog_resources)
