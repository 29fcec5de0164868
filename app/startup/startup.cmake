# Framewick's start-up steps and program block, without windows: data folder, instance index, screen check,
# splash settings.
target_sources(app_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/InstanceIndex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartUpCode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramBlock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaylandSession.cpp)
