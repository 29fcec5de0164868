# The main window and its helpers: captures, web servers, settings sequence, closing, libVLC check, index
# page, its place inside the work area; the program block's windows on Qt, which make and show it.
target_sources(app_mainform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormShow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormStart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormNotify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormCaptures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenSnap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkAreaFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormClose.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainFormDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureServices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WebServers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompactMode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KsaTimer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LibVlcCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IndexTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtStartupUi.cpp)
