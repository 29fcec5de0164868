fw_add_test(NAME app_windows_editors_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/editors_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/disabled_fields_test.cpp
  LIBS app_windows ftp_test_server Qt6::Widgets Qt6::Test TIMEOUT 180)

# The share editor on the screen under a real window manager, on a small and a large desktop.
fw_add_test(NAME app_windows_share_editor_screen_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/share_editor_screen_test.cpp
  LIBS app_windows Qt6::Test PkgConfig::XCB ENV FW_TEST_DESKTOP_SIZE=800x600)
add_test(NAME app_windows_share_editor_screen_test_large COMMAND app_windows_share_editor_screen_test)
get_test_property(app_windows_share_editor_screen_test ENVIRONMENT fw_share_editor_env)
list(FILTER fw_share_editor_env EXCLUDE REGEX "^FW_TEST_DESKTOP_SIZE=")
set_tests_properties(app_windows_share_editor_screen_test_large PROPERTIES TIMEOUT 120
  ENVIRONMENT "${fw_share_editor_env};FW_TEST_DESKTOP_SIZE=1600x900" SKIP_RETURN_CODE ${FW_TEST_SKIPPED_EXIT_CODE})

# Stored window places of the capture editor and the page dialog under a real window manager, on a desktop
# of the test's own.
fw_add_test(NAME app_windows_form_bounds_x11_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_bounds_x11_test.cpp
  LIBS app_windows PkgConfig::XCB)
