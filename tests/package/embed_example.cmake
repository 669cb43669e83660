# Installs BUILD_DIR into WORK_DIR/prefix, then configures, builds and runs the example in
# EXAMPLE_DIR against that prefix alone. Fails with the step's output when a step fails.
# EXECUTABLE names the example's program (embed-qt), EXPECTED what its --smoke run prints,
# and REQUIRED_FILES what the prefix must hold beyond the common files (;-separated).
foreach(var BUILD_DIR EXAMPLE_DIR WORK_DIR GENERATOR CXX LIBDIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_example.cmake needs -D${var}=...")
  endif()
endforeach()

function(step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

if(NOT DEFINED EXECUTABLE)
  set(EXECUTABLE embed-qt)
endif()
if(NOT DEFINED EXPECTED)
  set(EXPECTED "the label shows [0-9:.]+ after Notify; stopped; 1 lap listed")
endif()

step("installing" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(file include/tickwell/control/vex_clock.hpp include/tickwell/platform/value.hpp
             include/tickwell/qt/vex_clock_widget.hpp include/tickwell/headless/form_file.hpp
             ${LIBDIR}/libtickwell_core.a ${LIBDIR}/libtickwell_qt.a
             ${LIBDIR}/cmake/Tickwell/TickwellConfig.cmake ${REQUIRED_FILES})
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed package lacks ${file}")
  endif()
endforeach()

# Only the prefix is searched: nothing of the source or build tree can stand in for it.
step("configuring the example"
     ${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
     -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
     -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX}
     -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
     "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
step("building the example" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
step("running the example"
     ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
     ${WORK_DIR}/build/${EXECUTABLE} --smoke)
message(STATUS "${step_output}")
if(NOT step_output MATCHES "${EXPECTED}")
  message(FATAL_ERROR "the example did not follow the count:\n${step_output}")
endif()
