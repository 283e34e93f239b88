# Installing and packaging: the program in bin, its modules in lib/balizor, its data
# (help book, templates) in share/balizor, and the desktop's entry, icons and metainfo.
# InstallPaths (src/platform/install_paths.*) looks in the same places.

find_package(Qt6 REQUIRED COMPONENTS Svg)

# Icons: the SVG drawn for the program, rendered to the theme's PNG sizes.
set(BALIZOR_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)
set(BALIZOR_ICON_SIZES 16 22 24 32 48 64 128 256)
add_executable(balizor_iconrender ${CMAKE_SOURCE_DIR}/src/platform/iconrender/icon_render_main.cpp)
target_link_libraries(balizor_iconrender PRIVATE Qt6::Gui Qt6::Svg)
set(BALIZOR_ICON_PNGS)
foreach(size ${BALIZOR_ICON_SIZES})
  list(APPEND BALIZOR_ICON_PNGS ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/balizor.png)
endforeach()
add_custom_command(
  OUTPUT ${BALIZOR_ICON_PNGS}
  COMMAND balizor_iconrender ${BALIZOR_DESKTOP_DIR}/balizor.svg ${CMAKE_BINARY_DIR}/icons
          ${BALIZOR_ICON_SIZES}
  DEPENDS balizor_iconrender ${BALIZOR_DESKTOP_DIR}/balizor.svg
  COMMENT "Rendering the icons"
  VERBATIM)
add_custom_target(balizor_icons ALL DEPENDS ${BALIZOR_ICON_PNGS})

# The screenshot's address: AppStream takes only web addresses. The picture itself is
# resources/desktop/capture.png; publish it and give its address here.
set(BALIZOR_SCREENSHOT_URL "https://example.org/balizor/capture.png"
    CACHE STRING "Web address of the screenshot named in the AppStream metainfo")
configure_file(${BALIZOR_DESKTOP_DIR}/fr.balizor.Balizor.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/fr.balizor.Balizor.metainfo.xml @ONLY)

# Templates ship as a folder; the build folder gets a copy so that the program finds
# them beside itself there as it does in share/balizor once installed.
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/Modeles)
  file(GLOB_RECURSE BALIZOR_TEMPLATE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/Modeles/*)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/Modeles.stamp
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources/Modeles
            ${CMAKE_BINARY_DIR}/Modeles
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/Modeles.stamp
    DEPENDS ${BALIZOR_TEMPLATE_FILES}
    COMMENT "Copying the templates beside the program"
    VERBATIM)
  add_custom_target(balizor_templates ALL DEPENDS ${CMAKE_BINARY_DIR}/Modeles.stamp)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/Modeles DESTINATION share/balizor)
endif()

install(TARGETS balizor balizor-cli RUNTIME DESTINATION bin)
install(TARGETS balizor_webengine balizor_helpwindow balizor_secrets LIBRARY DESTINATION lib/balizor)
install(FILES ${CMAKE_BINARY_DIR}/Balizor.qch DESTINATION share/balizor)
install(FILES ${BALIZOR_DESKTOP_DIR}/fr.balizor.Balizor.desktop DESTINATION share/applications)
install(FILES ${CMAKE_BINARY_DIR}/fr.balizor.Balizor.metainfo.xml DESTINATION share/metainfo)
install(FILES ${BALIZOR_DESKTOP_DIR}/balizor.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size ${BALIZOR_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/balizor.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The Debian package (cpack -G DEB): every library the program and its modules load,
# and the engine's helper program, database driver and platform plugins they need.
set(CPACK_PACKAGE_NAME balizor)
set(CPACK_PACKAGE_VENDOR "Balizor")
set(CPACK_PACKAGE_CONTACT "Balizor <balizor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "éditeur du code source des pages web")
set(CPACK_PACKAGE_DESCRIPTION
    "Balizor est un éditeur du code source des pages web (HTML, CSS, JavaScript, PHP, ASP), en français.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY balizor)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), \
libqt6printsupport6 (>= 6.4), libqt6webenginewidgets6 (>= 6.4), libqt6webenginecore6 (>= 6.4), \
libqt6webenginecore6-bin (>= 6.4), libqt6help6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), \
libqt6svg6 (>= 6.4), qt6-qpa-plugins (>= 6.4), libqscintilla2-qt6-15, libcurl4, libqt6keychain1, \
libpng16-16, libpcre2-8-0, libhunspell-1.7-0, libc6, libstdc++6")
# The French dictionary for the spelling check (any other hunspell-* is offered too).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, qt6-image-formats-plugins, fonts-dejavu-core, hunspell-fr")
set(CPACK_GENERATOR DEB)
include(CPack)

# Checks of the installed files: the desktop's validators, and the package installed,
# run and removed (skipped without the administrator's rights or on another system).
add_test(NAME packaging_desktop_files
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/validate_desktop_files.sh
                 ${BALIZOR_DESKTOP_DIR}/fr.balizor.Balizor.desktop
                 ${CMAKE_BINARY_DIR}/fr.balizor.Balizor.metainfo.xml)
set_tests_properties(packaging_desktop_files PROPERTIES TIMEOUT 60)
add_test(NAME packaging_deb_roundtrip
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/deb_roundtrip.sh ${CMAKE_BINARY_DIR})
set_tests_properties(packaging_deb_roundtrip PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600
                     RUN_SERIAL TRUE)
