# Colour presets of panels, bevel labels and LEDs; the message-dialog and wait-window wrappers; the
# windows' stored bounds and their fit on the screen.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ColourPresets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormBounds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsgDlgWrappers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaitFormWrappers.cpp)
