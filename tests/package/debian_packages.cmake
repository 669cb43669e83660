# Makes the Debian packages of BUILD_DIR with cpack, checks their names, dependencies and
# contents, asks apt whether they would install here, unpacks them into a fresh root and
# builds and runs the examples against that root's /usr.
include(${CMAKE_CURRENT_LIST_DIR}/package_steps.cmake)
require_variables(debian_packages.cmake BUILD_DIR SOURCE_DIR WORK_DIR GENERATOR CXX MAJOR VERSION)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/root)

step("making the packages" cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out)

# The package of each name, with the field values it must declare.
set(runtime libtickwell${MAJOR})
set(packages ${runtime} libtickwell-dev libtickwell-designer-plugin tickwell-tools)
if(WITH_QUICK)
  list(APPEND packages qml6-module-tickwell)
endif()
set(debs)
foreach(package IN LISTS packages)
  file(GLOB found ${WORK_DIR}/out/${package}_${VERSION}*.deb)
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    file(GLOB made RELATIVE ${WORK_DIR}/out ${WORK_DIR}/out/*.deb)
    message(FATAL_ERROR "expected one package ${package}, cpack made: ${made}")
  endif()
  list(APPEND debs ${found})
  step("reading ${package}'s dependencies" dpkg-deb -f ${found} Depends)
  set(depends_${package} "${step_output}")
  step("listing ${package}" dpkg-deb -c ${found})
  set(files_${package} "${step_output}")
endforeach()

function(expect_match text pattern what)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what}:\n${text}")
  endif()
endfunction()
expect_match("${depends_${runtime}}" "libqt6widgets6" "${runtime} does not depend on Qt Widgets")
expect_match("${depends_libtickwell-dev}" "${runtime} \\(= ${VERSION}\\)"
             "libtickwell-dev does not depend on its own runtime")
expect_match("${depends_libtickwell-dev}" "qt6-base-dev" "libtickwell-dev lacks Qt's headers")
expect_match("${depends_libtickwell-designer-plugin}" "${runtime} \\(= ${VERSION}\\)"
             "the Designer plugin does not depend on the runtime")
expect_match("${files_${runtime}}" "\\./usr/lib/[^ ]*libtickwell\\.so\\.${MAJOR}"
             "${runtime} lacks the core's shared library")
expect_match("${files_libtickwell-dev}" "\\./usr/include/tickwell/qt/vex_clock_widget\\.hpp"
             "libtickwell-dev lacks the widget's header")
expect_match("${files_libtickwell-designer-plugin}"
             "\\./usr/lib/[^ ]*/qt6/plugins/designer/libtickwell-designer\\.so"
             "the Designer plugin is not where Designer looks")
if(WITH_QUICK)
  expect_match("${files_qml6-module-tickwell}" "\\./usr/lib/[^ ]*/qt6/qml/Tickwell/qmldir"
               "the QML module is not where Qt looks")
  expect_match("${depends_qml6-module-tickwell}" "${runtime} \\(= ${VERSION}\\)"
               "the QML module does not depend on the runtime")
endif()
if(files_${runtime} MATCHES "\\.hpp")
  message(FATAL_ERROR "${runtime} holds headers:\n${files_${runtime}}")
endif()

# Whether apt would install them on this system: every dependency resolves.
find_program(APT_GET apt-get)
if(APT_GET)
  set(local_debs)
  foreach(deb IN LISTS debs)
    list(APPEND local_debs ${deb})
  endforeach()
  step("asking apt to install the packages" ${APT_GET} install --simulate --no-install-recommends
       ${local_debs})
  expect_match("${step_output}" "Inst libtickwell-dev" "apt would not install libtickwell-dev")
endif()

foreach(deb IN LISTS debs)
  step("unpacking ${deb}" dpkg-deb -x ${deb} ${WORK_DIR}/root)
endforeach()
build_and_run_examples(${WORK_DIR}/root/usr ${WORK_DIR})
