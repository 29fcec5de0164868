# The wait window with its wrappers, the downloader notice and the splash window.
target_sources(app_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Wait_Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartDownloader_Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaitFormWrappers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashForm.cpp)
