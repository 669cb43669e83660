# The folder check given a tree whose folders include each other in a cycle: it fails, and
# names the cycle and the include of each step.
execute_process(COMMAND ${PYTHON} -B ${CHECK} ${CMAKE_CURRENT_LIST_DIR}/cycle
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 20)
foreach(says "Cycle: src/a -> src/b -> src/c -> src/a"
             "src/c -> src/a: src/c/c.hpp:3 includes tickwell/a/a.hpp")
  string(FIND "${err}" "${says}" at)
  if(at EQUAL -1)
    message(SEND_ERROR "the check does not say \"${says}\":\n${out}${err}")
  endif()
endforeach()
if(NOT status EQUAL 1)
  message(SEND_ERROR "the check ended with status ${status}, not 1:\n${out}${err}")
endif()
