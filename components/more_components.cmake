# Message dialog, tray icon and coloured frames; included by components/CMakeLists.txt. The tray icon
# asks the X server for the task-bar states of the main window.
target_link_libraries(components PUBLIC PkgConfig::XCB)
target_sources(components PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ApplicationTitle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageDialogForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsgDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IconImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IconResources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IconSequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtTrayArea.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetWmState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InitialWindowState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/X11Window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtAppTaskbar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DragDropWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DragDropHintWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NotifyIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BevelOutline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BevelBandPainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorFrames.cpp)
# The colour button and its variable outline.
target_sources(components PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/VariableOutline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorButton.cpp)
