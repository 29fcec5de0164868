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

# The tray icon on a desktop of its own: Xvfb, a real tray host (trayer), real input through xdotool,
# and a second program that drags a file onto the drop target. Starts its X server itself.
add_executable(components_drag_source ${CMAKE_CURRENT_LIST_DIR}/drag_source_main.cpp)
target_link_libraries(components_drag_source PRIVATE Qt6::Widgets)
fw_add_test(NAME notify_icon_tray_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/notify_icon_tray_test.cpp
  LIBS components Qt6::Widgets PkgConfig::XCB
  TIMEOUT 180)
target_compile_definitions(notify_icon_tray_test PRIVATE DRAG_SOURCE="$<TARGET_FILE:components_drag_source>")
add_dependencies(notify_icon_tray_test components_drag_source)

# Taking the main window off the task bar under a real window manager (openbox) on an Xvfb of its own.
fw_add_test(NAME app_taskbar_x11_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_taskbar_x11_test.cpp
  LIBS components Qt6::Widgets PkgConfig::XCB)
