# The capture-service editor with its share editor and the share editor's FTP check.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NumberFieldText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureEditorContext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureSourcePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VideoSettingsPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageSnapshotPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TimeDisplayPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureAudioPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Setup_ScreenCapture_Frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureSettings_Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareEditRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FtpCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FtpLog_Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareWebServerPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareFilesPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareFtpGroup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenCapture_StreameSet_Form.cpp)
