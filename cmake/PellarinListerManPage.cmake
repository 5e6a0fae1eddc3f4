# Makes the lister's manual page from its --help with help2man. Its version line is the lister's
# own --version when it has one, else the release.
#
#   cmake -DHELP2MAN=help2man -DLISTER=pellarin-cli -DRELEASE=1.03.01 -DOUTPUT=pellarin-cli.1
#         -P PellarinListerManPage.cmake
# The page is the English help: the lister speaks Japanese where the locale is Japanese.
set(ENV{LC_ALL} C)
execute_process(COMMAND ${LISTER} --version RESULT_VARIABLE no_version OUTPUT_QUIET ERROR_QUIET)
set(version)
if(no_version)
  set(version --version-string=${RELEASE})
endif()
execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 ${version}
          "--name=list the living characters of a strategy game's save file as text"
          --output=${OUTPUT} ${LISTER}
  COMMAND_ERROR_IS_FATAL ANY)
