# The main log window and the SNMP log window docked into it.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LogLineColors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogListBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogListDelegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogWindowCaption.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Log_Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainLog_Form.cpp)
