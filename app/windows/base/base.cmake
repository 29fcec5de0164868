# What every window uses to show itself: its stored bounds, its fit on the screen and the modal run.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FormBounds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameWatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModalRunner.cpp)
