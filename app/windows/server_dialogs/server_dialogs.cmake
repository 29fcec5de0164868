# The web-server, web-socket and page dialogs.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/HtmlCodeForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HttpSetupForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupWebSocketForm.cpp)
