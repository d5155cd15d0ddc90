# Engine benchmark driver; bench/engine.sh runs it.
add_executable(engine_bench ${CMAKE_CURRENT_SOURCE_DIR}/engine_bench.cpp)
target_link_libraries(engine_bench PRIVATE sonvera_core)
