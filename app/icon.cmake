# Sonvera's icon (GUI library): the SVG is also installed for the desktop menu.
set_property(TARGET sonvera_gui PROPERTY AUTORCC ON)
target_sources(sonvera_gui PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/icon.h ${CMAKE_CURRENT_SOURCE_DIR}/icon.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/sonvera.qrc)
