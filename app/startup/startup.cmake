# Framewick's start-up steps and program block, without windows: data folder, instance index, screen check,
# splash settings, the application object and the COM servers' registration.
target_sources(app_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/InstanceIndex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartUpCode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramBlock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaylandSession.cpp)
# The application object needs Qt Widgets, the registration the filter graphs; the shell links neither, so
# both go into the main window's library.
target_sources(app_mainform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FramewickApplication.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComServers.cpp)
