# A small DLL with a version resource, loaded by the module path tests from
# the test executable's folder.
add_library(qx_version_probe SHARED
    ${CMAKE_CURRENT_LIST_DIR}/probe/VersionProbe.c
    ${CMAKE_CURRENT_LIST_DIR}/probe/VersionProbe.rc)
set_target_properties(qx_version_probe PROPERTIES PREFIX "" OUTPUT_NAME "qx_version_probe")
add_dependencies(foundation_tests qx_version_probe)
