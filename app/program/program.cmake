# The program: `main`, the session's end, the exported functions.
target_sources(Framewick PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_sources(app_mainform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SessionEndSignals.cpp)
target_sources(app_exports PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportedCallbacks.cpp)
