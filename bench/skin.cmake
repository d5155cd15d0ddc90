# skin_bench: applying a skin with its first paint, and a visibility repaint,
# each against a plain full render of the same document in the same process.
add_executable(skin_bench ${CMAKE_CURRENT_SOURCE_DIR}/skin_bench.cpp)
target_link_libraries(skin_bench PRIVATE sonvera_gui)
add_dependencies(skin_bench skins)
target_compile_definitions(skin_bench PRIVATE SONVERA_BINARY_DIR="${PROJECT_BINARY_DIR}")
