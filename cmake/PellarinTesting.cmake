# How the project's tests are built and registered: on Linux, and cross-built for Windows, where
# CMake runs every test program under wine (the toolchain's emulator).

# On Windows a first test checks that the system's ANSI code page is 932; every other test needs it
# to have passed, so that a wrongly set up wine fails once and clearly.
function(pellarin_require_test_platform)
  if(WIN32)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED windows_code_page)
  endif()
endfunction()

if(NOT PELLARIN_TESTS)
  return()
endif()
# ./run builds the programs alone, on a machine that may lack GoogleTest. The Windows build's own
# is built with its libraries, so missing there it is an error.
if(CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
else()
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    message(STATUS "GoogleTest not found, so no tests are built: .ci/install-packages installs it")
    set(PELLARIN_TESTS OFF)
    return()
  endif()
endif()
include(GoogleTest)

# The environment of the window tests and programs: GTK looks for session services that a test
# machine lacks, and under AddressSanitizer the toolkit's own leaks would drown the report.
set(PELLARIN_WINDOW_TEST_ENVIRONMENT "GSETTINGS_BACKEND=memory" "NO_AT_BRIDGE=1")
# Under wine: the programs drive windows, and run in a virtual desktop of their own (.ci/wine-run).
if(WIN32)
  list(APPEND PELLARIN_WINDOW_TEST_ENVIRONMENT "PELLARIN_WINE_WINDOWS=1")
endif()
if(CMAKE_CXX_FLAGS MATCHES "sanitize=address")
  list(APPEND PELLARIN_WINDOW_TEST_ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()

# pellarin_add_test(<name> SOURCES <file>... [LIBRARIES <library>...] [DEFINITIONS <define>...]
#                   [WINDOW] [PROPERTIES <property> <value>...])
# Adds a GoogleTest program that links the test kit, and registers its tests with CTest. WINDOW:
# the tests drive real windows, on the display that they share one at a time, with the window
# kit's main, which starts the toolkit.
function(pellarin_add_test name)
  cmake_parse_arguments(TEST "WINDOW" "" "SOURCES;LIBRARIES;DEFINITIONS;PROPERTIES" ${ARGN})
  add_executable(${name} ${TEST_SOURCES})
  if(TEST_WINDOW)
    set(kit pellarin_window_test_kit GTest::gtest)
  else()
    set(kit pellarin_test_kit GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${TEST_LIBRARIES} ${kit})
  target_compile_definitions(${name} PRIVATE ${TEST_DEFINITIONS})
  # The tests describe characters with designated initializers and leave the rest at their defaults.
  target_compile_options(${name} PRIVATE -Wno-missing-field-initializers)

  set(properties ${TEST_PROPERTIES})
  if(WIN32)
    list(APPEND properties FIXTURES_REQUIRED windows_code_page)
  endif()
  if(TEST_WINDOW)
    list(APPEND properties RESOURCE_LOCK display)
  endif()
  # Listed when CTest runs, never at build time: a Windows build lists its tests under wine, and
  # listing the window tests needs no display.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_LIST ${name}_discovered
    PROPERTIES ${properties})
  if(TEST_WINDOW)
    # A list-valued property does not survive gtest_discover_tests, so the environment is set on
    # the discovered tests by a file that CTest reads after the discovery's own. A modal loop that
    # is never ended fails its test after a while instead of holding up the run.
    set(environment_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
    file(WRITE ${environment_file}
      "if(${name}_discovered)\n"
      "  set_tests_properties(\${${name}_discovered}\n"
      "    PROPERTIES ENVIRONMENT \"${PELLARIN_WINDOW_TEST_ENVIRONMENT}\" TIMEOUT 120)\n"
      "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_file})
  endif()
endfunction()
