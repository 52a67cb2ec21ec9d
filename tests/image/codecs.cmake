# PNG data in a "bin" resource of the image test executable (BinResource).
set(qx_image_test_png ${CMAKE_CURRENT_LIST_DIR}/data/resource.png)
set(qx_image_test_rc ${CMAKE_BINARY_DIR}/image_tests_resources.rc)
file(CONFIGURE OUTPUT ${qx_image_test_rc} CONTENT "1 bin \"${qx_image_test_png}\"\n" @ONLY)
set_source_files_properties(${qx_image_test_rc} PROPERTIES OBJECT_DEPENDS ${qx_image_test_png})
target_sources(image_tests PRIVATE ${qx_image_test_rc})
