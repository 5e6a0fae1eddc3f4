# Cross-builds the Windows programs with mingw-w64 (the POSIX thread model, which has std::mutex),
# linked statically so that they need only the system's own DLLs, against the libraries that
# .ci/build-windows-libs builds once per machine. Tests run under wine through .ci/wine-run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_host x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_host}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_host}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_host}-windres)

get_filename_component(pellarin_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
execute_process(
  COMMAND ${pellarin_source_dir}/.ci/build-windows-libs --print
  OUTPUT_VARIABLE PELLARIN_WINDOWS_LIBS
  ERROR_VARIABLE windows_libs_error
  RESULT_VARIABLE windows_libs_result
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT windows_libs_result EQUAL 0)
  message(FATAL_ERROR "${windows_libs_error}")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_host} ${PELLARIN_WINDOWS_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(wxWidgets_CONFIG_EXECUTABLE ${PELLARIN_WINDOWS_LIBS}/bin/wx-config)
# The dialog templates compile to the same C++ on every platform, so the host's wxrc serves.
set(wxWidgets_wxrc_EXECUTABLE /usr/bin/wxrc)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${pellarin_source_dir}/.ci/wine-run)
