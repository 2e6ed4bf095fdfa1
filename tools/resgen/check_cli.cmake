# Runs resgen on one bad language file and checks that it exits with 1,
# names the reason, and writes no output (the table, or OUTPUT_OPTION's).
#   cmake -DRESGEN=... -DINPUT=... -DEXPECT=... -DOUT=... [-DOUTPUT_OPTION=--ids]
#         -P check_cli.cmake
if(NOT OUTPUT_OPTION)
  set(OUTPUT_OPTION --table)
endif()
file(REMOVE ${OUT})
execute_process(COMMAND ${RESGEN} ${OUTPUT_OPTION} ${OUT} ${INPUT}
  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "resgen exited with '${rc}', expected 1; stderr: ${err}")
endif()
string(FIND "${err}" "${EXPECT}" pos)
if(pos EQUAL -1)
  message(FATAL_ERROR "stderr lacks '${EXPECT}': ${err}")
endif()
if(EXISTS ${OUT})
  message(FATAL_ERROR "resgen wrote ${OUT} although it failed")
endif()
message(STATUS "refused as expected: ${err}")
