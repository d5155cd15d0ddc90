# Installation and packages.
# The program folder keeps its layout, skins/ and help/ beside the executable:
# lib/sonvera/ with links in bin/ on Linux, the install folder itself on Windows.
if(WIN32)
  set(SONVERA_PROGRAM_DIR .)
else()
  set(SONVERA_PROGRAM_DIR lib/sonvera)
endif()

set(SONVERA_PROGRAMS sonvera)
if(TARGET sonvera-batch)
  list(APPEND SONVERA_PROGRAMS sonvera-batch)
endif()
install(TARGETS ${SONVERA_PROGRAMS} RUNTIME DESTINATION ${SONVERA_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/skins/ DESTINATION ${SONVERA_PROGRAM_DIR}/skins
  FILES_MATCHING PATTERN "*.skn")
install(DIRECTORY ${CMAKE_BINARY_DIR}/help/ DESTINATION ${SONVERA_PROGRAM_DIR}/help
  FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.svg" PATTERN "*.png" PATTERN "*.chm" PATTERN CMakeFiles EXCLUDE)

# The home page and support address have one home, app/appglobals.h.
function(sonvera_app_global name out)
  file(STRINGS ${PROJECT_SOURCE_DIR}/app/appglobals.h line REGEX "${name} = ")
  string(REGEX REPLACE ".*QStringLiteral\\(\"([^\"]*)\"\\).*" "\\1" value "${line}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
sonvera_app_global(HomePageAddress SONVERA_HOME_PAGE)
sonvera_app_global(SupportMailAddress SONVERA_SUPPORT_MAIL)

set(CPACK_PACKAGE_NAME sonvera)
set(CPACK_PACKAGE_VENDOR "Sonvera")
set(CPACK_PACKAGE_CONTACT "Sonvera <${SONVERA_SUPPORT_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch audio converter: MP3, OGG, WMA to WAV, WAV to MP3, MP3 normalizing")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Qt's and vcpkg's DLLs are laid beside the program by windeployqt and
  # vcpkg's app-local deployment (docs/windows.md).
  set(CPACK_GENERATOR ZIP)
  include(CPack)
  return()
endif()

# Relative links, so the installed tree can be moved or packaged as it is; the
# programs find their folder through the resolved link.
foreach(program IN LISTS SONVERA_PROGRAMS)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    message(STATUS \"Installing: \${bin}/${program}\")
    file(CREATE_LINK ../${SONVERA_PROGRAM_DIR}/${program} \"\${bin}/${program}\" SYMBOLIC)")
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/sonvera.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/resources/sonvera.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DESCRIPTION "Sonvera converts a batch of audio files one after another: MP3, OGG or WMA
to 16-bit WAV, WAV to MP3, or MP3 to a normalized MP3, with optional
normalization and fades. It comes with a skinnable window and the
command-line tool sonvera-batch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SONVERA_HOME_PAGE}")
# Debian 12 (bookworm) runtime libraries: Qt 6.4, FFmpeg 5.1, LAME, TagLib 1.13.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.36), libstdc++6 (>= 12), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), libavformat59, libavcodec59, libswresample4, libavutil57, libmp3lame0, libtag1v5, xdg-utils")
include(CPack)
