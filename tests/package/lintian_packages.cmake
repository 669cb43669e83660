# Runs lintian once over every package in PACKAGE_DIR (what package.debian made), the debug
# symbol packages included; fails on any error or warning it reports. Overrides shipped in
# the packages count, each with its reason beside it.
include(${CMAKE_CURRENT_LIST_DIR}/package_steps.cmake)
require_variables(lintian_packages.cmake LINTIAN PACKAGE_DIR)

file(GLOB packages ${PACKAGE_DIR}/*.deb ${PACKAGE_DIR}/*.ddeb)
if(NOT packages)
  message(FATAL_ERROR "no packages in ${PACKAGE_DIR}")
endif()
execute_process(COMMAND ${LINTIAN} --no-cfg --fail-on none ${packages}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lintian failed (${rc}):\n${out}${err}")
endif()
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" findings "${out}")
list(LENGTH packages count)
if(findings)
  string(JOIN "" report ${findings})
  message(FATAL_ERROR "lintian reports on the packages:${report}")
endif()
message(STATUS "lintian: ${count} packages, no error or warning")
