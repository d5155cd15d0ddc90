# Reader speed and memory; bench/reader.sh runs it against ffmpeg.
add_executable(reader_bench ${CMAKE_CURRENT_SOURCE_DIR}/reader_bench.cpp)
target_link_libraries(reader_bench PRIVATE sonvera_core)
