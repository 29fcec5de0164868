# The capture panel and its share status tabs, with a folder job and fakes of libVLC, graph and mirror.
fw_add_test(NAME app_windows_capture_panel_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/capture_panel_test.cpp ${CMAKE_CURRENT_LIST_DIR}/share_status_tab_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/capture_frame_texts_test.cpp
  LIBS app_windows Qt6::Test TIMEOUT 120)
