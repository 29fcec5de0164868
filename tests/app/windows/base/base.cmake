# The widgets and helpers several groups of windows share: the file choosers, the address-and-port
# fields, the spin field.
fw_add_test(NAME app_windows_base_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_chooser_test.cpp ${CMAKE_CURRENT_LIST_DIR}/address_port_fields_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/editor_controls_test.cpp
  LIBS app_windows Qt6::Widgets Qt6::Test)
