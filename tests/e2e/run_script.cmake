# Runs one container script and compares its output with the expected transcript.
#
# The script runs in a scratch folder of its own in the build tree (WORK), emptied first and
# holding a copy of the input files beside the scripts, so that the files a script saves or
# renders go there: never into the source tree, and never where a parallel run writes. The
# output of a failing run is kept there too, as NAME.actual.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(inputs ${SCRIPT} DIRECTORY)
file(GLOB input_files ${inputs}/*.json ${inputs}/*.png ${inputs}/*.svg)
file(COPY ${input_files} DESTINATION ${WORK})
if(EXISTS ${inputs}/../hostile)
  file(COPY ${inputs}/../hostile DESTINATION ${WORK})
endif()
get_filename_component(name ${SCRIPT} NAME_WE)
# A script that shows failing commands one after another says so on its first line.
file(STRINGS ${SCRIPT} first_line LIMIT_COUNT 1)
set(strict --strict)
if(first_line STREQUAL "# run without --strict")
  set(strict)
endif()
execute_process(COMMAND ${CONTAINER} ${strict} ${SCRIPT}
                WORKING_DIRECTORY ${WORK}
                OUTPUT_VARIABLE actual RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORK}/${name}.actual "${actual}")
  message(FATAL_ERROR "output of ${SCRIPT} differs from ${EXPECTED}; see ${WORK}/${name}.actual\n"
                      "--- expected\n${expected}--- actual\n${actual}")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} exited with ${status}")
endif()
