# The main window's tool bar and status bar.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TopFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BottomFrame.cpp)
