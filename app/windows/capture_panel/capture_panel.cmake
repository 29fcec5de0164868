# The capture panel with its share status tabs.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CaptureFrameTexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureFrameControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StreamerPageControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareStatusTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureFrame.cpp)
