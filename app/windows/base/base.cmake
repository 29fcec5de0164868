# What every window uses to show itself (its stored bounds, its fit on the screen, the modal run) and
# the widgets and helpers that windows of several groups share.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FormBounds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameWatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModalRunner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AmpelImages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DigitRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditorControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileChooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IpAddrPortFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PanelBuilders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathEllipsis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareTabCaptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpeedButton.cpp)
