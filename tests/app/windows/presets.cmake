# Colour presets and the message-dialog wrappers.
fw_add_test(NAME colour_presets_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/colour_presets_test.cpp
  LIBS app_windows)
fw_add_test(NAME msg_dlg_wrappers_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/msg_dlg_wrappers_test.cpp
  LIBS app_windows Qt6::Test)
