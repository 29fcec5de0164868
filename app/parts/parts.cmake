# The windows and the tray icon plugged into the main window: capture panel, tool bar, status bar, settings,
# user manual.
target_sources(app_mainwindow_parts PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CapturePanelAdapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ToolBarAdapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusBarAdapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainSettingsHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainTrayIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UserManual.cpp)
