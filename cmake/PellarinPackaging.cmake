# Installing and packaging: a .deb for Debian and Ubuntu (cpack --preset deb) and, from the
# Windows build, a zip to unpack into the game's folder (cpack --preset windows-zip). Both carry
# the programs, stripped, and the players' README.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME pellarin)
set(CPACK_PACKAGE_VERSION ${PELLARIN_RELEASE})
set(CPACK_PACKAGE_VENDOR "Pellarin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "character roster of a strategy game's save files")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Everything at the top of the zip: unpacked into the game's folder, the program finds the saves
  # relative to where it stands.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pellarin-${PELLARIN_RELEASE}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  install(TARGETS pellarin pellarin-cli RUNTIME DESTINATION .)
  install(FILES README.ja.md DESTINATION .)
  install(FILES docs/window.png DESTINATION docs)
  # The licences of what is linked into the programs, as Debian ships them with the packages
  # they were built from.
  foreach(licence
      "wxWidgets|/usr/share/doc/libwxbase3.2-1/copyright"
      "expat|/usr/share/doc/libexpat1/copyright"
      "zlib|/usr/share/doc/libz-mingw-w64-dev/copyright"
      "mingw-w64-winpthreads|/usr/share/doc/mingw-w64-x86-64-dev/copyright"
      "gcc-runtime-library-exception|/usr/share/doc/gcc-mingw-w64-base/copyright")
    string(REPLACE "|" ";" licence "${licence}")
    list(GET licence 0 name)
    list(GET licence 1 file)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "${file} is missing: run .ci/install-packages windows")
    endif()
    install(FILES ${file} DESTINATION licences RENAME ${name}.txt)
  endforeach()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # A tool for a game, not a game itself.
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pellarin developers <pellarin@users.invalid>")
  # The synopsis is the summary above; this is the text below it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Pellarin opens a save game (.eug) and lists every living character with\n"
      "age, gender, religion, capital province and the four attributes with their\n"
      "total. The table can be narrowed by age, gender, religion and marital status\n"
      "and sorted by any column. pellarin-cli prints the same table as\n"
      "tab-separated text.")
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
  # The libraries the programs link, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  install(TARGETS pellarin pellarin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES res/pellarin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES res/pellarin_32.xpm DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps RENAME pellarin.xpm)
  install(FILES README.ja.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellarin)
  install(FILES docs/window.png DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellarin/docs)
endif()

include(CPack)
