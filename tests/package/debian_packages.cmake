# Makes the Debian packages of BUILD_DIR with cpack, checks their names, dependencies and
# contents, asks apt whether they would install here, unpacks them into a fresh root and
# builds and runs the examples against that root's /usr.
include(${CMAKE_CURRENT_LIST_DIR}/package_steps.cmake)
require_variables(debian_packages.cmake BUILD_DIR SOURCE_DIR WORK_DIR GENERATOR CXX MAJOR VERSION)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/root)

step("making the packages" cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out)

# The package of each name, with the field values it must declare.
set(release ${VERSION}-1)
set(runtime libtickwell${MAJOR})
set(qt_runtime libtickwell-qt${MAJOR})
set(quick_runtime libtickwell-quick${MAJOR})
set(binary_packages ${runtime} ${qt_runtime} libtickwell-designer-plugin tickwell-tools)
if(WITH_QUICK)
  list(APPEND binary_packages ${quick_runtime} qml6-module-tickwell)
endif()
set(packages ${binary_packages} libtickwell-dev)
if(WITH_REFERENCE)
  list(APPEND packages libtickwell-doc)
endif()
set(debs)
foreach(package IN LISTS packages)
  file(GLOB found ${WORK_DIR}/out/${package}_${release}_*.deb)
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    file(GLOB made RELATIVE ${WORK_DIR}/out ${WORK_DIR}/out/*.*deb)
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
# The core package is for programs without Qt: nothing of Qt comes with it.
string(TOLOWER "${depends_${runtime}}" runtime_depends)
if(runtime_depends MATCHES "qt")
  message(FATAL_ERROR "${runtime} depends on Qt: ${depends_${runtime}}")
endif()
expect_match("${depends_${runtime}}" "libstdc\\+\\+6" "${runtime} lacks its dpkg-shlibdeps dependencies")
expect_match("${depends_${qt_runtime}}" "${runtime} \\(= ${release}\\)"
             "${qt_runtime} does not depend on the core")
expect_match("${depends_${qt_runtime}}" "libqt6widgets6" "${qt_runtime} does not depend on Qt Widgets")
expect_match("${depends_libtickwell-dev}" "${qt_runtime} \\(= ${release}\\)"
             "libtickwell-dev does not depend on the libraries it links")
expect_match("${depends_libtickwell-dev}" "qt6-base-dev" "libtickwell-dev lacks Qt's headers")
expect_match("${depends_libtickwell-designer-plugin}" "${qt_runtime} \\(= ${release}\\)"
             "the Designer plugin does not depend on the Qt libraries")
# Libraries in the multiarch folder, each package holding its own.
set(multiarch "\\./usr/lib/[a-z0-9_]+-linux-[a-z0-9_]+")
expect_match("${files_${runtime}}" "${multiarch}/libtickwell\\.so\\.${MAJOR}"
             "${runtime} lacks the core's shared library in the multiarch folder")
expect_match("${files_${runtime}}" "${multiarch}/libtickwell-files\\.so\\.${MAJOR}"
             "${runtime} lacks the file library")
expect_match("${files_${qt_runtime}}" "${multiarch}/libtickwell-qt\\.so\\.${MAJOR}"
             "${qt_runtime} lacks the widget's library")
expect_match("${files_libtickwell-dev}" "${multiarch}/pkgconfig/tickwell\\.pc"
             "libtickwell-dev lacks the pkg-config file in the multiarch folder")
expect_match("${files_libtickwell-dev}" "\\./usr/include/tickwell/qt/vex_clock_widget\\.hpp"
             "libtickwell-dev lacks the widget's header")
expect_match("${files_libtickwell-designer-plugin}" "${multiarch}/qt6/plugins/designer/libtickwell-designer\\.so"
             "the Designer plugin is not where Designer looks")
expect_match("${files_tickwell-tools}" "\\./usr/share/man/man1/tickwell-container\\.1\\.gz"
             "tickwell-tools lacks the container's man page")
if(WITH_QUICK)
  expect_match("${files_qml6-module-tickwell}" "${multiarch}/qt6/qml/Tickwell/qmldir"
               "the QML module is not where Qt looks")
  expect_match("${depends_qml6-module-tickwell}" "${quick_runtime} \\(= ${release}\\)"
               "the QML module does not depend on its library")
endif()
if(WITH_REFERENCE)
  expect_match("${files_libtickwell-doc}" "\\./usr/share/doc/libtickwell-doc/html/index\\.html"
               "libtickwell-doc lacks the API reference")
endif()
if(files_${runtime} MATCHES "\\.hpp|libqt")
  message(FATAL_ERROR "${runtime} holds headers or Qt's libraries:\n${files_${runtime}}")
endif()
file(GLOB runtime_deb ${WORK_DIR}/out/${runtime}_${release}_*.deb)
step("reading ${runtime}'s shlibs" dpkg-deb -I ${runtime_deb} shlibs)
expect_match("${step_output}" "libtickwell ${MAJOR} ${runtime} \\(>= ${release}\\)"
             "${runtime}'s shlibs do not give dependents a versioned dependency")

# Each package of binaries has its debug information beside it, found by build id; the
# binaries themselves are stripped (lintian, in package.lintian, fails on any that is not).
foreach(package IN LISTS binary_packages)
  file(GLOB found ${WORK_DIR}/out/${package}-dbgsym_${release}_*.ddeb)
  if(NOT found)
    message(FATAL_ERROR "no debug symbol package for ${package}")
  endif()
  step("listing ${package}-dbgsym" dpkg-deb -c ${found})
  expect_match("${step_output}" "\\./usr/lib/debug/\\.build-id/[0-9a-f][0-9a-f]/[0-9a-f]+\\.debug"
               "${package}-dbgsym holds no debug file")
endforeach()

# Whether apt would install them on this system: every dependency resolves.
find_program(APT_GET apt-get)
if(APT_GET)
  file(GLOB debug_debs ${WORK_DIR}/out/*-dbgsym_${release}_*.ddeb)
  set(local_debs ${debs} ${debug_debs})
  step("asking apt to install the packages" ${APT_GET} install --simulate --no-install-recommends
       ${local_debs})
  expect_match("${step_output}" "Inst libtickwell-dev" "apt would not install libtickwell-dev")
  expect_match("${step_output}" "Inst ${runtime}-dbgsym" "apt would not install ${runtime}-dbgsym")
endif()

foreach(deb IN LISTS debs)
  step("unpacking ${deb}" dpkg-deb -x ${deb} ${WORK_DIR}/root)
endforeach()
build_and_run_examples(${WORK_DIR}/root/usr ${WORK_DIR})
