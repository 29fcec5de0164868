# The program: `main`, the Qt application, the start-up windows (splash, dialogs), the session's end, the COM
# servers.
target_sources(Framewick PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_sources(app_mainform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ComServers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtStartupUi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FramewickApplication.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionEndSignals.cpp)
target_sources(app_exports PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportedCallbacks.cpp)
