# The main log: its lines and their model, the daily log file, the log queue, the disk-full stop.
target_sources(app_mainform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FilterLogQueue.cpp)
target_sources(app_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LogLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogLineModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DailyLogFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogQueue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiskSpace.cpp)
