# The archive thread with its disk guard and the pruning of old archives.
target_sources(app_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ArchivePrune.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveGuard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveThread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveStopHandOver.cpp)
