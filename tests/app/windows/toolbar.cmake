# The main window's tool bar and status bar.
fw_add_test(NAME app_windows_toolbar_test SOURCES toolbar_test.cpp LIBS app_windows Qt6::Test)
