# `cpack -G DEB` in the build tree: Debian packages as Debian ships libraries, one per install
# component, installing under /usr with the libraries in /usr/lib/<multiarch>:
#
#   libtickwell1                 libtickwell, libtickwell-files       no Qt
#   libtickwell-qt1              qt-render, qt-host, the widget, the dialogs
#   libtickwell-quick1           libtickwell-quick
#   qml6-module-tickwell         the QML module Tickwell
#   libtickwell-designer-plugin  VexClockWidget in Qt Designer
#   libtickwell-dev              headers, link names, the CMake package, pkg-config
#   libtickwell-doc              the API reference (made when the build installs one)
#   tickwell-tools               tickwell-container, tickwell-demo, their man pages
#
# Binaries are stripped; each package of binaries has a -dbgsym package beside it with their
# debug information under /usr/lib/debug/.build-id. Each package depends on what its files
# need: dpkg-shlibdeps for the system's libraries, and the packages of this build it links, at
# this very version. The library packages carry shlibs files, so that a program packaged
# against them depends on them at this version or later, and run ldconfig through its trigger.
# Every package holds its copyright and changelog.Debian.gz, and lintian passes them all (the
# test package.lintian).
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME tickwell)
set(CPACK_PACKAGE_VENDOR "Tickwell")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "VexClock, a stopwatch control with analog and digital faces")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(TICKWELL_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tickwell developers <developers@tickwell.invalid>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tickwell.invalid/")
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${TICKWELL_LIBRARY_OUTPUT_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# Maintainer scripts and triggers with the modes dpkg expects (0755 scripts, 0644 the rest).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Every package's /usr/share/doc/PACKAGE: the copyright and the Debian changelog.
set(tickwell_debian_dir ${CMAKE_CURRENT_LIST_DIR}/debian)
configure_file(${tickwell_debian_dir}/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
tickwell_gzip(${PROJECT_BINARY_DIR}/debian/changelog.Debian
              ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz)

# One package: its component, name, section, the packages of this build it needs (as
# components), whether it has binaries (then stripped, with a -dbgsym package), and its
# description (a synopsis line, then the paragraph lintian expects below it).
set(CPACK_COMPONENTS_ALL)
macro(tickwell_debian_package component name section binaries depends description)
  string(TOUPPER ${component} _tw_upper)
  list(APPEND CPACK_COMPONENTS_ALL ${component})
  set(CPACK_DEBIAN_${_tw_upper}_PACKAGE_NAME ${name})
  set(CPACK_DEBIAN_${_tw_upper}_PACKAGE_SECTION ${section})
  set(CPACK_DEBIAN_${_tw_upper}_DESCRIPTION "${description}")
  set(CPACK_COMPONENT_${_tw_upper}_DEPENDS ${depends})
  set(CPACK_DEBIAN_${_tw_upper}_DEBUGINFO_PACKAGE ${binaries})
  install(FILES ${tickwell_debian_dir}/copyright ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${name} COMPONENT ${component})
  file(WRITE ${PROJECT_BINARY_DIR}/debian/overrides/${name}
       "# Packaged outside Debian's archive: no bug for a first upload to close.\n"
       "${name}: initial-upload-closes-no-bugs\n")
  install(FILES ${PROJECT_BINARY_DIR}/debian/overrides/${name}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${component})
endmacro()

# The library packages: shlibs for their dependents, ldconfig by trigger. cpack writes
# maintainer scripts that call ldconfig for libraries in /usr/lib; naming scripts in the
# control files that do not exist keeps it from writing them (it adds only files that exist),
# and the trigger does the same work once per dpkg run.
macro(tickwell_debian_library_package component)
  string(TOUPPER ${component} _tw_upper)
  set(CPACK_DEBIAN_${_tw_upper}_PACKAGE_CONTROL_EXTRA
      ${tickwell_debian_dir}/triggers ${PROJECT_BINARY_DIR}/debian/none/postinst
      ${PROJECT_BINARY_DIR}/debian/none/postrm)
endmacro()

set(tickwell_major ${PROJECT_VERSION_MAJOR})
tickwell_debian_package(core libtickwell${tickwell_major} libs ON ""
  "VexClock stopwatch control: the control and its files
 The stopwatch control VexClock with analog and digital faces, as a C++
 library over the standard library alone (libtickwell), and the reading and
 writing of its JSON property-bag and form files (libtickwell-files).
 Neither needs Qt.")
tickwell_debian_library_package(core)
set(tickwell_dev_needs core)
set(tickwell_dev_depends "nlohmann-json3-dev (>= 3)")

if(TICKWELL_PACKAGE_HAS_QT)
  tickwell_debian_package(qt libtickwell-qt${tickwell_major} libs ON core
    "VexClock stopwatch control: Qt widget libraries
 The Qt hosts of the VexClock stopwatch control: the QPainter renderer of its
 faces (libtickwell-qt-render), what every Qt host shares
 (libtickwell-qt-host), the widget VexClockWidget (libtickwell-qt) and its
 property pages dialog (libtickwell-qt-dialogs).")
  tickwell_debian_library_package(qt)
  list(APPEND tickwell_dev_needs qt)
  string(APPEND tickwell_dev_depends ", qt6-base-dev (>= 6.2)")
endif()

if(TICKWELL_PACKAGE_HAS_QUICK)
  tickwell_debian_package(quick libtickwell-quick${tickwell_major} libs ON qt
    "VexClock stopwatch control: Qt Quick item library
 VexClockItem, the VexClock stopwatch control as a Qt Quick item
 (libtickwell-quick), for programs that create it from C++. QML programs
 import it from qml6-module-tickwell.")
  tickwell_debian_library_package(quick)
  tickwell_debian_package(qml qml6-module-tickwell libs ON quick
    "VexClock stopwatch control: QML module Tickwell
 The QML module Tickwell 1.0, whose type VexClock is the stopwatch control as
 a Qt Quick item: import Tickwell in a QML file to use it.")
  set(CPACK_DEBIAN_QML_PACKAGE_DEPENDS "qml6-module-qtquick (>= 6.4)")
  list(APPEND tickwell_dev_needs quick qml)
  string(APPEND tickwell_dev_depends ", qt6-declarative-dev (>= 6.4)")
endif()

if(TICKWELL_PACKAGE_HAS_DESIGNER)
  tickwell_debian_package(designer libtickwell-designer-plugin devel ON qt
    "VexClock stopwatch control: Qt Designer plugin
 Puts VexClockWidget in Qt Designer's widget box, with every property in the
 property editor and the stopwatch's property pages on its context menu.")
endif()

tickwell_debian_package(dev libtickwell-dev libdevel OFF "${tickwell_dev_needs}"
  "VexClock stopwatch control: development files
 The headers (as <tickwell/...>), the link names, the CMake package
 (find_package(Tickwell)) and the pkg-config file of the Tickwell libraries.")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${tickwell_dev_depends}")
set(CPACK_DEBIAN_DEV_PACKAGE_SHLIBDEPS OFF)

tickwell_debian_package(doc libtickwell-doc doc OFF ""
  "VexClock stopwatch control: API reference
 The reference of the Tickwell libraries' public classes and functions, and
 of their file formats, as HTML.")
set(CPACK_DEBIAN_DOC_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DOC_PACKAGE_SHLIBDEPS OFF)

if(TARGET tickwell-container OR TARGET tickwell-demo)
  set(tickwell_tools_needs core)
  if(TICKWELL_PACKAGE_HAS_QT)
    set(tickwell_tools_needs qt)
  endif()
  tickwell_debian_package(tools tickwell-tools devel ON ${tickwell_tools_needs}
    "VexClock stopwatch control: command-line container and demo
 tickwell-container runs scripts of commands against headless stopwatch
 controls on a virtual clock and renders their faces; tickwell-demo designs
 and runs forms of them.")
endif()

# The reference is the build's to install: with nothing in component doc there is no doc
# package. Decided when cpack runs, by installing that component into a scratch folder.
set(TICKWELL_CPACK_BUILD_DIR ${PROJECT_BINARY_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/TickwellCPackOptions.cmake.in
               ${PROJECT_BINARY_DIR}/TickwellCPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/TickwellCPackOptions.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/TickwellDebugPackages.cmake)

include(CPack)
