# Tests of the capture job's share workers (snapshot thread, file-drop thread, encoders, rasteriser).
include_guard(GLOBAL)
set(_fw_workers_tests ${CMAKE_CURRENT_LIST_DIR})
fw_add_test(NAME engine_capture_image_encoders_test SOURCES ${_fw_workers_tests}/image_encoders_test.cpp
  LIBS engine_capture)
fw_add_test(NAME engine_capture_image_thread_page_test SOURCES ${_fw_workers_tests}/image_thread_page_test.cpp
  LIBS engine_capture)
fw_add_test(NAME engine_capture_image_thread_test SOURCES ${_fw_workers_tests}/image_thread_test.cpp
  LIBS engine_capture TIMEOUT 120)
fw_add_test(NAME engine_capture_copy_file_thread_test SOURCES ${_fw_workers_tests}/copy_file_thread_test.cpp
  LIBS engine_capture TIMEOUT 180)
fw_add_test(NAME engine_capture_copy_file_thread_rasterizer_test
  SOURCES ${_fw_workers_tests}/copy_file_thread_rasterizer_test.cpp LIBS engine_capture TIMEOUT 120)
fw_add_test(NAME engine_capture_image_thread_http_test SOURCES ${_fw_workers_tests}/image_thread_http_test.cpp
  LIBS engine_capture engine_http_test_support TIMEOUT 120)
# Under the X server: the capture graph with the real screen-capture and sink filters.
fw_add_test(NAME engine_capture_image_thread_graph_test SOURCES ${_fw_workers_tests}/image_thread_graph_test.cpp
  LIBS engine_capture engine_graphs engine_http_test_support DISPLAY TIMEOUT 120)
target_compile_definitions(engine_capture_image_thread_graph_test PRIVATE FW_SINK_MODULE="$<TARGET_FILE:Orbelle32>")
add_dependencies(engine_capture_image_thread_graph_test FwScreenCapture Orbelle32)
