# The About box (GUI library).
target_sources(sonvera_gui PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/about.h ${CMAKE_CURRENT_SOURCE_DIR}/about.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/appglobals.h)
