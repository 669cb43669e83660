# The installed package: the libraries, their headers under include/tickwell/, the programs,
# and the CMake package that find_package(Tickwell) reads, with the targets
#
#   Tickwell::core            the control (standard library only)
#   Tickwell::property_files  JSON property-bag and form files (nlohmann_json)
#   Tickwell::qt_render       the QPainter renderer of a face (Qt GUI)
#   Tickwell::qt              VexClockWidget and the property pages (Qt Widgets)
#   Tickwell::quick           VexClockItem, the type VexClock of the QML module Tickwell
#                             (Qt Quick, a shared library)
#
# The QML module itself (its plugin, qmldir and type information) goes to
# ${CMAKE_INSTALL_LIBDIR}/qt6/qml/Tickwell, Qt's QML folder on Debian: a program finds it
# there with the system's Qt, or through QML_IMPORT_PATH=<prefix>/lib/x86_64-linux-gnu/qt6/qml
# (the package sets Tickwell_QML_DIR to that folder).
#
# The Qt targets are there when the build has them. Included at the end of the top-level
# CMakeLists.txt, once every target exists; tickwell_core's own rules are in src/.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TICKWELL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tickwell)

# Every library reaches its headers through Tickwell::core's include directory: include/
# under the prefix, where each header is <tickwell/...>.
function(tickwell_install_library target export_name)
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
  install(TARGETS ${target} EXPORT TickwellTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
endfunction()

# The settings files every host shares.
tickwell_install_library(tickwell_property_files property_files)
install(FILES ${PROJECT_SOURCE_DIR}/hosts/headless/file_limits.hpp
              ${PROJECT_SOURCE_DIR}/hosts/headless/text_file.hpp
              ${PROJECT_SOURCE_DIR}/hosts/headless/json_property_bag.hpp
              ${PROJECT_SOURCE_DIR}/hosts/headless/form_file.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tickwell/headless)

set(TICKWELL_PACKAGE_HAS_QT OFF)
if(TARGET tickwell_qt_render AND TARGET tickwell_qt)
  set(TICKWELL_PACKAGE_HAS_QT ON)
  tickwell_install_library(tickwell_qt_render qt_render)
  tickwell_install_library(tickwell_qt_host qt_host)
  tickwell_install_library(tickwell_qt qt)
  if(NOT TARGET Tickwell::qt)
    add_library(Tickwell::qt ALIAS tickwell_qt)
  endif()
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/hosts/qt/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tickwell/qt FILES_MATCHING PATTERN "*.hpp")
endif()

set(TICKWELL_PACKAGE_HAS_QUICK OFF)
if(TICKWELL_PACKAGE_HAS_QT AND TARGET tickwell_quick)
  set(TICKWELL_PACKAGE_HAS_QUICK ON)
  set_target_properties(tickwell_quick PROPERTIES EXPORT_NAME quick)
  install(TARGETS tickwell_quick EXPORT TickwellTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(TARGETS tickwell_quickplugin LIBRARY DESTINATION ${TICKWELL_QML_INSTALL_DIR}/Tickwell)
  install(FILES ${TICKWELL_QML_BUILD_DIR}/Tickwell/qmldir
                ${TICKWELL_QML_BUILD_DIR}/Tickwell/tickwell_quick.qmltypes
          DESTINATION ${TICKWELL_QML_INSTALL_DIR}/Tickwell)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/hosts/quick/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tickwell/quick FILES_MATCHING PATTERN "*.hpp")
endif()

foreach(program tickwell-container tickwell-demo)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(EXPORT TickwellTargets NAMESPACE Tickwell:: DESTINATION ${TICKWELL_INSTALL_CMAKEDIR})
if(NOT DEFINED TICKWELL_QML_INSTALL_DIR)
  set(TICKWELL_QML_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/qml)
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TickwellConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/TickwellConfig.cmake
                              INSTALL_DESTINATION ${TICKWELL_INSTALL_CMAKEDIR}
                              PATH_VARS TICKWELL_QML_INSTALL_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TickwellConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TickwellConfig.cmake
              ${PROJECT_BINARY_DIR}/TickwellConfigVersion.cmake
        DESTINATION ${TICKWELL_INSTALL_CMAKEDIR})
