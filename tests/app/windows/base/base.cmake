# Stored window places under a real window manager, on a desktop of the test's own.
fw_add_test(NAME app_windows_form_bounds_x11_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_bounds_x11_test.cpp
  LIBS app_windows PkgConfig::XCB)
