# The tests load the plug-in DLL from their own folder, as a host would, and
# compare against baselines kept beside the sources.
add_dependencies(plugin_tests Quillorantix_Daubcrafter)
target_compile_definitions(plugin_tests PRIVATE
    QX_GOLDEN_DIR="${CMAKE_CURRENT_LIST_DIR}/golden")
