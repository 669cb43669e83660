# The ABI check against a small library built twice: recorded from its first build, then given
# a second one. A removed function or a grown type fails the check and is named; an added
# function passes; a removal with the SONAME's major version moved passes.
set(work ${WORK_DIR})
file(REMOVE_RECURSE ${work})

# Installs the library built with `defines` and SONAME libmeter.so.`major` into work/`name`.
function(build_meter name major)
  set(prefix ${work}/${name})
  file(MAKE_DIRECTORY ${prefix}/include/meter ${prefix}/lib)
  file(COPY ${CMAKE_CURRENT_LIST_DIR}/abi/meter.hpp DESTINATION ${prefix}/include/meter)
  list(TRANSFORM ARGN PREPEND -D OUTPUT_VARIABLE defines)
  execute_process(COMMAND ${CXX} -std=c++20 -g -O1 -shared -fPIC -fvisibility=hidden ${defines}
                          -Wl,-soname,libmeter.so.${major}
                          -o ${prefix}/lib/libmeter.so.${major}.0.0
                          ${CMAKE_CURRENT_LIST_DIR}/abi/meter.cpp
                  RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "building ${name} failed:\n${err}")
  endif()
endfunction()

# Runs the check of work/`name` against the record; its status and output go to `status`, `out`.
function(check_meter name)
  execute_process(COMMAND ${PYTHON} -B ${CHECK} --check --record ${work}/record
                          --prefix ${work}/${name}
                  OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr RESULT_VARIABLE rc TIMEOUT 60)
  set(status ${rc} PARENT_SCOPE)
  set(out "${stdout}${stderr}" PARENT_SCOPE)
endfunction()

function(expect name want_status says)
  check_meter(${name})
  if(NOT status EQUAL want_status)
    message(SEND_ERROR "${name}: the check ended with status ${status}, not ${want_status}:\n${out}")
  endif()
  string(FIND "${out}" "${says}" at)
  if(at EQUAL -1)
    message(SEND_ERROR "${name}: the check does not say \"${says}\":\n${out}")
  endif()
endfunction()

build_meter(released 1)
execute_process(COMMAND ${PYTHON} -B ${CHECK} --record ${work}/record --prefix ${work}/released
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT EXISTS ${work}/record/libmeter.so.1.abi)
  message(FATAL_ERROR "recording the released library failed (${status}):\n${out}")
endif()

build_meter(rebuilt 1)
expect(rebuilt 0 "libmeter.so.1: compatible with the record")
build_meter(added 1 METER_ADDED)
expect(added 0 "libmeter.so.1: compatible with the record")
build_meter(removed 1 METER_REMOVED)
expect(removed 1 "meter::reset_meter()")
build_meter(grown 1 METER_GROWN)
expect(grown 1 "'int spare', at offset 32")
build_meter(removed_major_moved 2 METER_REMOVED)
expect(removed_major_moved 0 "libmeter.so.1: the major version moved to libmeter.so.2")
