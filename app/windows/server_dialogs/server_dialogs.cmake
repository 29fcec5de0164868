# The web-server, web-socket and page dialogs with the address-and-port frame they share.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DigitRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IpAddrPortFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileChooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathEllipsis.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AmpelImages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlCodeForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HttpSetupForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupWebSocketForm.cpp)
