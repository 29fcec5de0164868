fw_add_test(NAME settings_dialog_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_dialog_test.cpp
  LIBS app_windows Qt6::Test)
