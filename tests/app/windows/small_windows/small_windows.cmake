# The wait window, the downloader notice and the help launcher.
fw_add_test(NAME small_windows_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/small_windows_test.cpp
  LIBS app_windows Qt6::Test)
