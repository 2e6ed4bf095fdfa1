# Runs dathide on one bad source file and checks that it exits with 1, names
# the reason, and leaves no output behind (an older output is removed).
#   cmake -DDATHIDE=... -DINPUT=... -DEXPECT=... -DOUT=... -P check_refusal.cmake
file(WRITE ${OUT} "an older table")
execute_process(COMMAND ${DATHIDE} ${INPUT} ${OUT}
  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "dathide exited with '${rc}', expected 1; stderr: ${err}")
endif()
string(FIND "${err}" "${EXPECT}" pos)
if(pos EQUAL -1)
  message(FATAL_ERROR "stderr lacks '${EXPECT}': ${err}")
endif()
if(EXISTS ${OUT})
  message(FATAL_ERROR "${OUT} is still there although dathide failed")
endif()
message(STATUS "refused as expected: ${err}")
