fw_add_test(NAME app_windows_pickers_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/pickers_test.cpp
  LIBS app_windows Qt6::Widgets Qt6::Test)
