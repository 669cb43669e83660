# The container given a script it cannot read to its end: each ends with an error line naming
# the script and exit status 1, with and without --strict, at once and holding no more than a
# line of it.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND mkfifo ${WORK}/pipe.tw)
string(REPEAT "x" 65537 long)
file(WRITE ${WORK}/long.tw "echo before\n${long}\necho after\n")

# SCRIPT (or `-`, with INPUT as standard input), then the error text the run must end with.
function(expect_refused script input says)
  set(stdin)
  if(input)
    set(stdin INPUT_FILE ${input})
  endif()
  foreach(mode --strict "")
    execute_process(COMMAND ${CONTAINER} ${mode} ${script} ${stdin} WORKING_DIRECTORY ${WORK}
                    OUTPUT_VARIABLE out RESULT_VARIABLE status TIMEOUT 20)
    string(FIND "${out}" "${says}\n" at)
    if(NOT status EQUAL 1 OR at EQUAL -1)
      message(SEND_ERROR "${mode} ${script} ${input}: exit status ${status}, output\n${out}"
                         "--- expected an exit status of 1 after\n${says}")
    endif()
  endforeach()
endfunction()

expect_refused(${WORK} "" "error: cannot read script \"${WORK}\": Is a directory")
expect_refused(/dev/zero "" "error: cannot read script \"/dev/zero\": a character device, not a regular file")
expect_refused(${WORK}/pipe.tw "" "error: cannot read script \"${WORK}/pipe.tw\": a FIFO, not a regular file")
expect_refused(/proc/self/mem "" "error: cannot read script \"/proc/self/mem\": Input/output error after line 0")
expect_refused(- /dev/zero "error: cannot read standard input: line 1 is longer than 65536 bytes")
expect_refused(${WORK}/long.tw "" "before\nerror: cannot read script \"${WORK}/long.tw\": line 2 is longer than 65536 bytes")
