# The main log window and the SNMP log window.
fw_add_test(NAME log_windows_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_windows_test.cpp
  LIBS app_windows Qt6::Test)
