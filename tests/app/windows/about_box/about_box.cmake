# The About box.
fw_add_test(NAME about_box_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/about_box_test.cpp
  LIBS app_windows)
target_compile_definitions(about_box_test PRIVATE FW_EXPECTED_FILE_VERSION="${PROJECT_VERSION}")
