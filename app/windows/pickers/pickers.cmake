# The window picker and the area picker of the capture-service editor.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WndList_Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WndArea_Form.cpp)
