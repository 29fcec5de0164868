# Tests of the message dialog, tray icon and coloured frames; included by tests/components/CMakeLists.txt.
fw_add_test(NAME msg_dlg_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/msg_dlg_test.cpp
  LIBS components Qt6::Widgets)
fw_add_test(NAME icon_image_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_image_test.cpp
  LIBS components Qt6::Widgets)
fw_add_test(NAME notify_icon_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/notify_icon_test.cpp
  LIBS components Qt6::Widgets)
fw_add_test(NAME color_frames_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/color_frames_test.cpp
  LIBS components Qt6::Widgets)
fw_add_test(NAME color_button_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/color_button_test.cpp
  LIBS components Qt6::Widgets)
