# The whole capture job against ffmpeg: glass-to-playlist latency and CPU at 1280x720@25 (needs an X
# server and ffmpeg; run under xvfb-run). Included by this folder's CMakeLists.txt.
include_guard(GLOBAL)
if(TARGET bench_capture_job)
  add_executable(engine_capture_job_bench ${CMAKE_CURRENT_LIST_DIR}/capture_job_bench.cpp)
  target_link_libraries(engine_capture_job_bench PRIVATE bench_capture_job PkgConfig::XCB Qt6::Core)
endif()
