# Runs one container script and compares its output with the expected transcript.
execute_process(COMMAND ${CONTAINER} --strict ${SCRIPT}
                OUTPUT_VARIABLE actual RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${SCRIPT}.actual "${actual}")
  message(FATAL_ERROR "output of ${SCRIPT} differs from ${EXPECTED}; see ${SCRIPT}.actual\n"
                      "--- expected\n${expected}--- actual\n${actual}")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} exited with ${status}")
endif()
