# The main window's tool bar and status bar.
fw_add_test(NAME app_windows_toolbar_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/toolbar_test.cpp LIBS app_windows
  Qt6::Test)

# Back from a modal dialog under a real window manager, with real pointer input, on a desktop of its own.
fw_add_test(NAME app_windows_modal_return_x11_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/modal_return_x11_test.cpp
  LIBS app_windows PkgConfig::XCB)
