# The installed package: the libraries, their headers under include/tickwell/, the programs,
# the Qt Designer plugin, the CMake package that find_package(Tickwell) reads, a pkg-config
# file for the core, and the Debian packages that `cpack -G DEB` makes of them. Targets:
#
#   Tickwell::core            the control (standard library only)          libtickwell
#   Tickwell::property_files  JSON property-bag and form files (nlohmann_json)
#   Tickwell::qt_render       the QPainter renderer of a face (Qt GUI)
#   Tickwell::qt_host         what every Qt host of a control shares (Qt GUI)
#   Tickwell::qt              VexClockWidget (Qt Widgets)
#   Tickwell::qt_dialogs      the property pages dialog (Qt Widgets)
#   Tickwell::quick           VexClockItem, the type VexClock of the QML module Tickwell
#                             (Qt Quick, a shared library)
#
# The QML module itself (its plugin, qmldir and type information) goes to
# ${CMAKE_INSTALL_LIBDIR}/qt6/qml/Tickwell, Qt's QML folder on Debian: a program finds it
# there with the system's Qt, or through QML_IMPORT_PATH=<prefix>/lib/x86_64-linux-gnu/qt6/qml
# (the package sets Tickwell_QML_DIR to that folder).
#
# The Qt targets are there when the build has them. Shared libraries carry the SONAME
# lib<name>.so.<major>; a build with BUILD_SHARED_LIBS=OFF installs static archives instead.
# Included at the end of the top-level CMakeLists.txt, once every target exists.
#
# Install components, one Debian package each (cmake/TickwellPackaging.cmake):
#   core      libtickwell1                   libtickwell and libtickwell-files (no Qt)
#   qt        libtickwell-qt1                qt-render, qt-host, the widget and the dialogs
#   quick     libtickwell-quick1             libtickwell-quick
#   qml       qml6-module-tickwell           the QML module Tickwell
#   designer  libtickwell-designer-plugin    the widget in Qt Designer
#   dev       libtickwell-dev                headers, link names, CMake and pkg-config files
#   doc       libtickwell-doc                the API reference
#   tools     tickwell-tools                 tickwell-container and tickwell-demo, man pages
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TICKWELL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tickwell)

# Man pages and Debian changelogs are installed compressed as Debian's tools compress them
# (gzip -9n: no name, no time stamp, so the same bytes every build); made when configuring.
find_program(TICKWELL_GZIP gzip REQUIRED)
function(tickwell_gzip input output)
  get_filename_component(folder ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  execute_process(COMMAND ${TICKWELL_GZIP} -9n -c ${input} OUTPUT_FILE ${output}
                  COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()

# Every library reaches its headers through Tickwell::core's include directory: include/
# under the prefix, where each header is <tickwell/...>. An installed library finds the ones
# it links beside itself ($ORIGIN), wherever the prefix is.
function(tickwell_install_library target export_name output_name component)
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name} OUTPUT_NAME ${output_name}
                        VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
                        INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT TickwellTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${component} NAMELINK_COMPONENT dev
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
endfunction()

tickwell_install_library(tickwell_core core tickwell core)
tickwell_install_library(tickwell_property_files property_files tickwell-files core)

set(TICKWELL_PACKAGE_HAS_QT OFF)
if(TARGET tickwell_qt_render AND TARGET tickwell_qt)
  set(TICKWELL_PACKAGE_HAS_QT ON)
  tickwell_install_library(tickwell_qt_render qt_render tickwell-qt-render qt)
  tickwell_install_library(tickwell_qt_host qt_host tickwell-qt-host qt)
  tickwell_install_library(tickwell_qt qt tickwell-qt qt)
  tickwell_install_library(tickwell_qt_dialogs qt_dialogs tickwell-qt-dialogs qt)
  if(NOT TARGET Tickwell::qt)
    add_library(Tickwell::qt ALIAS tickwell_qt)
  endif()
endif()

set(TICKWELL_PACKAGE_HAS_QUICK OFF)
if(TICKWELL_PACKAGE_HAS_QT AND TARGET tickwell_quick)
  set(TICKWELL_PACKAGE_HAS_QUICK ON)
  tickwell_install_library(tickwell_quick quick tickwell-quick quick)
  install(TARGETS tickwell_quickplugin LIBRARY DESTINATION ${TICKWELL_QML_INSTALL_DIR}/Tickwell
          COMPONENT qml)
  install(FILES ${TICKWELL_QML_BUILD_DIR}/Tickwell/qmldir
                ${TICKWELL_QML_BUILD_DIR}/Tickwell/tickwell_quick.qmltypes
          DESTINATION ${TICKWELL_QML_INSTALL_DIR}/Tickwell COMPONENT qml)
endif()


# Qt Designer looks for plugins in <Qt's plugin directory>/designer. Under the prefix /usr that
# is Qt's own directory on Debian; under any other prefix, QT_PLUGIN_PATH=<prefix>/<this>
# minus /designer points Designer at it.
set(TICKWELL_PACKAGE_HAS_DESIGNER OFF)
set(TICKWELL_DESIGNER_PLUGIN_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)
if(TARGET tickwell_designer)
  set(TICKWELL_PACKAGE_HAS_DESIGNER ON)
  set(TICKWELL_DESIGNER_PLUGIN_DIR ${TICKWELL_QT_PLUGIN_DIR}/designer)
  install(TARGETS tickwell_designer
          LIBRARY DESTINATION ${TICKWELL_DESIGNER_PLUGIN_DIR} COMPONENT designer)
endif()

# Installed programs find the libraries beside them: <prefix>/bin/../<libdir>.
foreach(program tickwell-container tickwell-demo)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
    tickwell_gzip(${PROJECT_SOURCE_DIR}/apps/${program}/${program}.1
                  ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
    install(FILES ${PROJECT_BINARY_DIR}/man/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
  endif()
endforeach()

install(EXPORT TickwellTargets NAMESPACE Tickwell:: DESTINATION ${TICKWELL_INSTALL_CMAKEDIR}
        COMPONENT dev)
if(NOT DEFINED TICKWELL_QML_INSTALL_DIR)
  set(TICKWELL_QML_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/qml)
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TickwellConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/TickwellConfig.cmake
                              INSTALL_DESTINATION ${TICKWELL_INSTALL_CMAKEDIR}
                              PATH_VARS TICKWELL_QML_INSTALL_DIR TICKWELL_DESIGNER_PLUGIN_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TickwellConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TickwellConfig.cmake
              ${PROJECT_BINARY_DIR}/TickwellConfigVersion.cmake
        DESTINATION ${TICKWELL_INSTALL_CMAKEDIR} COMPONENT dev)

# pkg-config for the core, relocatable: its prefix is found from where the file lies.
set(TICKWELL_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH TICKWELL_PKGCONFIG_TO_PREFIX /${TICKWELL_PKGCONFIG_DIR} /)
string(REGEX REPLACE "/$" "" TICKWELL_PKGCONFIG_TO_PREFIX "${TICKWELL_PKGCONFIG_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tickwell.pc.in ${PROJECT_BINARY_DIR}/tickwell.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tickwell.pc DESTINATION ${TICKWELL_PKGCONFIG_DIR} COMPONENT dev)

include(${CMAKE_CURRENT_LIST_DIR}/TickwellPackaging.cmake)
