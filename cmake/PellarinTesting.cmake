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
find_package(GTest REQUIRED)
include(GoogleTest)

# pellarin_add_test(<name> SOURCES <file>... [LIBRARIES <library>...] [DEFINITIONS <define>...]
#                   [OWN_MAIN] [TEST_LIST <variable>] [PROPERTIES <property> <value>...])
# Adds a GoogleTest program that links the test kit, and registers its tests with CTest. OWN_MAIN:
# the sources bring their own main.
function(pellarin_add_test name)
  cmake_parse_arguments(TEST "OWN_MAIN" "TEST_LIST" "SOURCES;LIBRARIES;DEFINITIONS;PROPERTIES" ${ARGN})
  add_executable(${name} ${TEST_SOURCES})
  if(TEST_OWN_MAIN)
    set(gtest GTest::gtest)
  else()
    set(gtest GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${TEST_LIBRARIES} pellarin_test_kit ${gtest})
  target_compile_definitions(${name} PRIVATE ${TEST_DEFINITIONS})
  # The tests describe characters with designated initializers and leave the rest at their defaults.
  target_compile_options(${name} PRIVATE -Wno-missing-field-initializers)

  set(properties ${TEST_PROPERTIES})
  if(WIN32)
    list(APPEND properties FIXTURES_REQUIRED windows_code_page)
  endif()
  if(NOT TEST_TEST_LIST)
    set(TEST_TEST_LIST ${name}_discovered)
  endif()
  # Listed when CTest runs, never at build time: a Windows build lists its tests under wine, and
  # listing the window tests needs no display.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_LIST ${TEST_TEST_LIST}
    PROPERTIES ${properties})
endfunction()
