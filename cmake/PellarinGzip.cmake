# Compresses INPUT into OUTPUT as Debian compresses documentation: gzip -9n, the most, with no
# name or time stamp inside, so that the same text always makes the same bytes.
#
#   cmake -DGZIP=gzip -DINPUT=changelog -DOUTPUT=changelog.gz -P PellarinGzip.cmake
execute_process(COMMAND ${GZIP} -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
