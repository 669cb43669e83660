# Steps shared by the package tests, run in script mode (cmake -P).

# Fails naming the first of the variables the script was not given (-DNAME=...).
function(require_variables script)
  foreach(var ${ARGN})
    if(NOT DEFINED ${var})
      message(FATAL_ERROR "${script} needs -D${var}=...")
    endif()
  endforeach()
endfunction()

# Runs a command; fails with its output when it fails. Its output is left in step_output.
function(step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

# Configures, builds and runs the example project in `example_dir` against the package under
# `prefix` alone (nothing of the source or build tree can stand in for it), as a program of
# its own would be. The run (with --smoke, offscreen) must print a line matching `expect`.
function(build_and_run_example prefix example_dir work_dir program expect)
  get_filename_component(name ${example_dir} NAME)
  set(build ${work_dir}/${name})
  step("configuring ${name}"
       ${CMAKE_COMMAND} -S ${example_dir} -B ${build} -G ${GENERATOR}
       -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
       -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX}
       -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
       "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
  step("building ${name}" ${CMAKE_COMMAND} --build ${build})
  step("running ${name}" ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
       ${build}/${program} --smoke)
  message(STATUS "${step_output}")
  if(NOT step_output MATCHES "${expect}")
    message(FATAL_ERROR "${name} did not do what it should:\n${step_output}")
  endif()
endfunction()

# Every example, against `prefix`.
function(build_and_run_examples prefix work_dir)
  build_and_run_example(${prefix} ${SOURCE_DIR}/examples/embed-qt ${work_dir} embed-qt
                        "the label shows [0-9:.]+ after Notify. stopped. 1 lap listed")
  build_and_run_example(${prefix} ${SOURCE_DIR}/examples/designer-form ${work_dir} designer-form
                        "the label shows [0-9:.]+ as the face does: yes. stopped. 1 lap")
  if(WITH_QUICK)
    # The module is imported from the package's QML folder; any QML warning fails the run.
    build_and_run_example(${prefix} ${SOURCE_DIR}/examples/qml-stopwatch ${work_dir} qml-stopwatch
                          "qml-stopwatch: 00:00:5[0-9].[0-9][0-9] shown, 1 lap listed, 0 warnings")
  endif()
endfunction()
