# Installing on a desktop and the Debian package.
include(GNUInstallDirs)

set(VARNEK_DATA_DIR "${CMAKE_INSTALL_FULL_DATADIR}/varnek")
# Only the file that looks for the shipped files needs to know where they lie.
set_property(SOURCE src/platform/Dienste.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  VARNEK_DATA_DIR="${VARNEK_DATA_DIR}")

install(TARGETS varnek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/hilfe-Vx.html DESTINATION ${CMAKE_INSTALL_DATADIR}/varnek)
install(FILES data/varnek.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/varnek.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# PNG icons for desktops and docks that take no SVG, drawn from the SVG at
# build time by a small tool of our own.
add_executable(svg_png tools/svg_png.cpp)
target_link_libraries(svg_png PRIVATE Qt6::Gui Qt6::Svg)
set(varnek_pngs)
foreach(size 48 128)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/varnek.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND svg_png ${CMAKE_SOURCE_DIR}/data/varnek.svg ${png} ${size}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/varnek.svg svg_png
    COMMENT "Icon ${size}x${size}")
  list(APPEND varnek_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(varnek_icons ALL DEPENDS ${varnek_pngs})

set(CPACK_PACKAGE_NAME varnek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Varnek <varnek@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kontaktprogramm: Nachrichten schicken und vorlesen lassen")
set(CPACK_PACKAGE_INSTALL_DIRECTORY varnek)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Qt's runtime, its German texts and its speech plugin, speech-dispatcher
# (through libspeechd) with the espeak-ng voices, and xdg-open for opening
# documents and links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libcurl4, libqt6core6, libqt6dbus6, libqt6gui6, libqt6widgets6, libqt6network6, libqt6printsupport6, libqt6svg6, libqt6texttospeech6, qt6-qpa-plugins, qt6-translations-l10n, qt6-speech-speechd-plugin, libspeechd2, speech-dispatcher, speech-dispatcher-espeak-ng, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mousepad | gedit | gnome-text-editor | kate | featherpad")
include(CPack)
