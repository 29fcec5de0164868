# The settings dialog: its page tree, its four pages and the list views of the capture services, web
# servers and web sockets.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ListGridModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColumnWidths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsListView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneralSettingsPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureServicePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WebServerPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageConversionPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonitorCentring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsForm.cpp)
