# Installs the program like the other programs of a Linux desktop: both
# programs, the menu entry, the icon in the theme's sizes, the catalogue
# entry, the manual pages and the user guide; `cpack -G DEB` packs it all.
include(GNUInstallDirs)

set(VESTRELS_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS vestrels-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VESTRELS_PACKAGING}/vestrels-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(NOT VESTRELS_CORE_ONLY)
  install(TARGETS vestrels RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${VESTRELS_PACKAGING}/vestrels.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${VESTRELS_PACKAGING}/vestrels.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VESTRELS_PACKAGING}/io.github.vestrels.Vestrels.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${VESTRELS_PACKAGING}/icons/vestrels-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vestrels.png)
  endforeach()
  install(FILES ${VESTRELS_README} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vestrels)
endif()

set(CPACK_PACKAGE_NAME vestrels)
set(CPACK_PACKAGE_VERSION 3.1.1)
set(CPACK_PACKAGE_VENDOR Vestrels)
set(CPACK_PACKAGE_CONTACT "Vestrels developers <vestrels@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for a collection of electronic journals")
set(CPACK_PACKAGE_DESCRIPTION
    "Vestrels lists the issues of electronic journals kept side by side in one folder, draws an issue's table of\
 contents, opens its articles in the web browser, searches titles and article texts and keeps favourites.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The runtime libraries the programs actually link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The framework's translations, so its dialogs follow the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wx3.2-i18n, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
