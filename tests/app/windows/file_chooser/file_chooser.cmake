fw_add_test(NAME app_windows_file_chooser_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_chooser_test.cpp
  LIBS app_windows Qt6::Widgets Qt6::Test)
