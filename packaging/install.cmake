# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the program like the other programs of a Linux desktop: both
# programs (stripped by `cmake --install --strip` and by cpack), the menu
# entry, the icon in the theme's sizes and as a drawing, the catalogue entry,
# the manual pages and the changelog compressed, the copyright file and the
# user guide in UTF-8; `cpack -G DEB` packs it all.
include(GNUInstallDirs)

set(VESTRELS_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(VESTRELS_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/vestrels)
set(VESTRELS_CONTACT "Vestrels developers <vestrels@example.org>")

# gzip -n leaves out the name and time, so a rebuild gives the same bytes.
function(vestrels_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${source} ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

set(VESTRELS_GENERATED_DOCS ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_BINARY_DIR}/vestrels-cli.1.gz)
vestrels_gzip(${CMAKE_SOURCE_DIR}/CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
vestrels_gzip(${VESTRELS_PACKAGING}/vestrels-cli.1 ${CMAKE_BINARY_DIR}/vestrels-cli.1.gz)

install(TARGETS vestrels-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/vestrels-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${VESTRELS_PACKAGING}/copyright DESTINATION ${VESTRELS_DOCDIR})

if(NOT VESTRELS_CORE_ONLY)
  # The installed guide is UTF-8; the copy in the working folder, which
  # "Читать Readme" finds first, stays in the collection's code page.
  set(VESTRELS_README_UTF8 ${CMAKE_BINARY_DIR}/Readme.htm)
  add_custom_command(OUTPUT ${VESTRELS_README_UTF8}
                     COMMAND sh -c "iconv -f WINDOWS-1251 -t UTF-8 \"$1\" | sed 's/charset=windows-1251/charset=utf-8/' > \"$2\""
                             sh ${VESTRELS_README} ${VESTRELS_README_UTF8}
                     DEPENDS ${VESTRELS_README} VERBATIM)
  vestrels_gzip(${VESTRELS_PACKAGING}/vestrels.1 ${CMAKE_BINARY_DIR}/vestrels.1.gz)
  list(APPEND VESTRELS_GENERATED_DOCS ${VESTRELS_README_UTF8} ${CMAKE_BINARY_DIR}/vestrels.1.gz)

  install(TARGETS vestrels RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/vestrels.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${VESTRELS_PACKAGING}/vestrels.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VESTRELS_PACKAGING}/io.github.vestrels.Vestrels.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The sizes are rendered from the drawing by scripts/render_icons.sh.
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${VESTRELS_PACKAGING}/icons/vestrels-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vestrels.png)
  endforeach()
  install(FILES ${VESTRELS_PACKAGING}/vestrels.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${VESTRELS_README_UTF8} DESTINATION ${VESTRELS_DOCDIR})
endif()
add_custom_target(vestrels_docs ALL DEPENDS ${VESTRELS_GENERATED_DOCS})

set(CPACK_PACKAGE_NAME vestrels)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vestrels)
set(CPACK_PACKAGE_CONTACT ${VESTRELS_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for a collection of electronic journals")
# Debian's control file wants the long description in lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Vestrels lists the issues of electronic journals kept side by side in one\n\
folder, draws an issue's table of contents, opens its articles in the web\n\
browser, searches titles and article texts and keeps favourites.\n\
vestrels-cli gives the same library to scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The runtime libraries the programs actually link, as dpkg-shlibdeps finds
# them, and the opener everything is handed to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
# The framework's translations, so its dialogs follow the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wx3.2-i18n")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PROJECT_CONFIG_FILE ${VESTRELS_PACKAGING}/cpack_checks.cmake)
include(CPack)
