fw_add_test(NAME server_dialogs_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/server_dialogs_forms_test.cpp
  LIBS app_windows Qt6::Test)
