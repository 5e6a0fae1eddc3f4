# Makes the lister's manual page from its --help with help2man. Its version line is the lister's
# own --version when it has one, else the release. Run when the package is installed, the one
# time help2man is needed, so a missing help2man stops the package with the remedy.
#
#   cmake -DLISTER=pellarin-cli -DRELEASE=1.03.01 -DOUTPUT=pellarin-cli.1
#         -P PellarinListerManPage.cmake
cmake_minimum_required(VERSION 3.25)
find_program(help2man_program help2man)
if(NOT help2man_program)
  message(FATAL_ERROR "help2man, which makes the manual page pellarin-cli(1) for the package, "
                      "is missing: run .ci/install-packages")
endif()
# The page is the English help: the lister speaks Japanese where the locale is Japanese.
set(ENV{LC_ALL} C)
execute_process(COMMAND ${LISTER} --version RESULT_VARIABLE no_version OUTPUT_QUIET ERROR_QUIET)
set(version)
if(no_version)
  set(version --version-string=${RELEASE})
endif()
execute_process(
  COMMAND ${help2man_program} --no-info --section=1 ${version}
          "--name=list the living characters of a strategy game's save file as text"
          --output=${OUTPUT} ${LISTER}
  COMMAND_ERROR_IS_FATAL ANY)
