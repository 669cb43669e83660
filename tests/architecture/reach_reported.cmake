# The folder check given a tree where a library includes a header of a library it does not
# link: it fails, and names the include.
execute_process(COMMAND ${PYTHON} -B ${CHECK} --links ${CMAKE_CURRENT_LIST_DIR}/reach/library-links.txt
                        ${CMAKE_CURRENT_LIST_DIR}/reach
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 20)
set(says "Reach: hosts/c -> hosts/b: hosts/c/c.cpp:3 includes tickwell/b/b.hpp")
string(FIND "${err}" "${says}" at)
if(at EQUAL -1)
  message(SEND_ERROR "the check does not say \"${says}\":\n${out}${err}")
endif()
if(NOT status EQUAL 1)
  message(SEND_ERROR "the check ended with status ${status}, not 1:\n${out}${err}")
endif()
