# Writer benchmark driver; bench/writer.sh runs it against ffmpeg and lame.
add_executable(writer_bench ${CMAKE_CURRENT_SOURCE_DIR}/writer_bench.cpp)
target_link_libraries(writer_bench PRIVATE sonvera_core)
