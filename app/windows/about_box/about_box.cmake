# The About box: its window, its link labels and the processor line.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CpuInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MouseSensitiveLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AboutForm.cpp)
