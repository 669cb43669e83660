# Every header is reached as <tickwell/AREA/name.hpp>, in the build tree as in an installed
# package. A folder of sources calls tickwell_headers(AREA PUBLIC ...) from its CMakeLists:
# each of its headers is linked into build/include/tickwell/AREA/, and the PUBLIC ones are
# installed into include/tickwell/AREA/. Several folders may share an area (the Qt libraries
# share tickwell/qt/, so that a program's includes do not depend on which library a class
# lives in); a header that is not listed PUBLIC is the library's own and is not installed.
include(GNUInstallDirs)

function(tickwell_headers area)
  cmake_parse_arguments(HEADERS "" "" "PUBLIC" ${ARGN})
  set(into ${TICKWELL_BUILD_INCLUDE_DIR}/tickwell/${area})
  if(IS_SYMLINK ${into})  # a build folder from when an area was one folder's link
    file(REMOVE ${into})
  endif()
  file(MAKE_DIRECTORY ${into})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.hpp)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${into}/${name} SYMBOLIC)
  endforeach()
  set(installed)
  foreach(name ${HEADERS_PUBLIC})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name})
      message(FATAL_ERROR "tickwell_headers: no ${name} in ${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
    list(APPEND installed ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  endforeach()
  if(installed)
    install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tickwell/${area}
            COMPONENT dev)
  endif()
  # The installed headers of the whole build, for the package's checks.
  set_property(GLOBAL APPEND PROPERTY TICKWELL_PUBLIC_HEADERS ${installed})
endfunction()
