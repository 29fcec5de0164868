# The share workers of a capture job: the snapshot thread, the file-drop thread and what they use
# (image encoders, the share page, the outside SVG rasteriser). Included by this folder's
# CMakeLists.txt after engine_capture is defined.
include_guard(GLOBAL)
target_sources(engine_capture PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WorkerThread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkerLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShareFolderClaims.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageEncoders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChildProgram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SvgRasterizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageThread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CopyFileThread.cpp)
target_link_libraries(engine_capture PUBLIC platform_filters platform_thread platform_ui JPEG::JPEG
  PRIVATE PkgConfig::LIBDEFLATE)
