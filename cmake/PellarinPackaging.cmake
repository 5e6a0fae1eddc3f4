# Installing and packaging: a .deb for Debian and Ubuntu (cpack --preset deb) and, from the
# Windows build, a zip to unpack into the game's folder (cpack --preset windows-zip). Both carry
# the programs, stripped, the players' README with its pictures, and the licence: the .deb
# README.ja.md itself, the zip the Windows guide made from it.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME pellarin)
set(CPACK_PACKAGE_VERSION ${PELLARIN_RELEASE})
set(CPACK_PACKAGE_VENDOR "Pellarin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "character roster of a strategy game's save files")
set(CPACK_STRIP_FILES ON)

# The pictures that README.ja.md shows, installed with it; the Windows guide shows the first.
set(pictures
  docs/window-windows.png
  docs/window.png
)
list(TRANSFORM pictures PREPEND ${PROJECT_SOURCE_DIR}/)

if(WIN32)
  # The two programs at the top of the zip, which is unpacked into the game's folder: they find
  # the saves relative to where they stand. Everything else goes into one folder beside them.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pellarin-${PELLARIN_RELEASE}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  install(TARGETS pellarin pellarin-cli RUNTIME DESTINATION .)
  list(GET pictures 0 windows_picture)
  install(FILES ${windows_picture} DESTINATION Pellarin)

  # The texts as Notepad shows them from Windows 7 on, made at build time: the README, the guide
  # in plain text for Windows made from README.ja.md, which names its picture beside it; the
  # licence; and the licences of what is linked into the programs, as Debian ships them with the
  # packages they were built from.
  set(texts
    "README.txt|${PROJECT_SOURCE_DIR}/README.ja.md"
    "LICENSE.txt|${PROJECT_SOURCE_DIR}/LICENSE"
    "licences/wxWidgets.txt|/usr/share/doc/libwxbase3.2-1/copyright"
    "licences/expat.txt|/usr/share/doc/libexpat1/copyright"
    "licences/zlib.txt|/usr/share/doc/libz-mingw-w64-dev/copyright"
    "licences/mingw-w64-winpthreads.txt|/usr/share/doc/mingw-w64-x86-64-dev/copyright"
    "licences/gcc-runtime-library-exception.txt|/usr/share/doc/gcc-mingw-w64-base/copyright")
  set(script ${PROJECT_SOURCE_DIR}/cmake/PellarinWindowsText.cmake)
  find_program(PELLARIN_PYTHON3 python3 REQUIRED)
  set(outputs)
  foreach(text IN LISTS texts)
    string(REPLACE "|" ";" text "${text}")
    list(GET text 0 name)
    list(GET text 1 source)
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "${source} is missing: run .ci/install-packages windows")
    endif()
    set(output ${CMAKE_BINARY_DIR}/Pellarin/${name})
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${source} -DOUTPUT=${output} -DPICTURE_FOLDER=Pellarin
              -DPYTHON=${PELLARIN_PYTHON3} -P ${script}
      DEPENDS ${source} ${script} ${PROJECT_SOURCE_DIR}/cmake/markdown_text.py
      COMMENT "Writing Pellarin/${name} for Notepad"
      VERBATIM)
    list(APPEND outputs ${output})
    get_filename_component(folder Pellarin/${name} DIRECTORY)
    install(FILES ${output} DESTINATION ${folder})
  endforeach()
  add_custom_target(pellarin_windows_texts ALL DEPENDS ${outputs})
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
      "and sorted by any column. pellarin-cli lists the same characters in the\n"
      "same order as tab-separated text or CSV, under English column names.")
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
  # The libraries the programs link, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/pellarin)

  install(TARGETS pellarin pellarin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Debian strips its programs of the compiler's notes too, which cpack's strip leaves.
  foreach(program pellarin pellarin-cli)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
      execute_process(
        COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  endforeach()
  install(FILES res/pellarin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES res/pellarin_32.xpm DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps RENAME pellarin.xpm)
  install(FILES res/pellarin.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME pellarin)
  install(FILES README.ja.md DESTINATION ${docdir})
  install(FILES ${pictures} DESTINATION ${docdir}/docs)

  # The licence in Debian's machine-readable form, its words taken from LICENSE. The format's
  # name for this wording of the MIT licence is Expat.
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" holder "${licence}")
  set(holder ${CMAKE_MATCH_1})
  string(FIND "${licence}" "Permission" terms_start)
  string(SUBSTRING "${licence}" ${terms_start} -1 terms)
  string(STRIP "${terms}" terms)
  string(REPLACE "\n\n" "\n.\n" terms "${terms}")
  string(REPLACE "\n" "\n " terms "${terms}")
  file(CONFIGURE OUTPUT copyright @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Pellarin

Files: *
Copyright: ${holder}
Comment: The MIT licence as LICENSE has it; Expat is this format's name for its wording.
License: Expat
 ${terms}
")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
  install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${docdir})

  # The changelog and the manual pages, compressed as Debian compresses them: the most, with no
  # name or time stamp inside. pellarin(1) is written by hand, since `pellarin --help` would open
  # the window, and compressed with the changelog at build time.
  find_program(PELLARIN_GZIP gzip REQUIRED)
  configure_file(docs/pellarin.1.in pellarin.1 @ONLY)
  set(compressed)
  foreach(source ${PROJECT_SOURCE_DIR}/docs/changelog ${CMAKE_BINARY_DIR}/pellarin.1)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_BINARY_DIR}/packaged/${name}.gz)
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DGZIP=${PELLARIN_GZIP} -DINPUT=${source} -DOUTPUT=${output}
              -P ${PROJECT_SOURCE_DIR}/cmake/PellarinGzip.cmake
      DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/PellarinGzip.cmake
      COMMENT "Compressing ${name}"
      VERBATIM)
    list(APPEND compressed ${output})
  endforeach()
  add_custom_target(pellarin_packaged_docs ALL DEPENDS ${compressed})
  list(POP_FRONT compressed changelog)
  install(FILES ${changelog} DESTINATION ${docdir})
  # pellarin-cli(1) is made from the lister's --help by help2man, which only the package needs:
  # it is looked for when the package is installed, so that building and testing go without it.
  set(lister_page ${CMAKE_BINARY_DIR}/packaged/pellarin-cli.1)
  install(CODE "
    set(LISTER \"$<TARGET_FILE:pellarin-cli>\")
    set(RELEASE ${PELLARIN_RELEASE})
    set(OUTPUT \"${lister_page}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/PellarinListerManPage.cmake\")
    set(GZIP \"${PELLARIN_GZIP}\")
    set(INPUT \"${lister_page}\")
    set(OUTPUT \"${lister_page}.gz\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/PellarinGzip.cmake\")")
  install(FILES ${compressed} ${lister_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

include(CPack)
