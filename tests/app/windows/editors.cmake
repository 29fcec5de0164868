fw_add_test(NAME app_windows_editors_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/editors_test.cpp
  LIBS app_windows ftp_test_server Qt6::Widgets Qt6::Test TIMEOUT 180)
