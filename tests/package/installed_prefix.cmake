# Installs BUILD_DIR into WORK_DIR/prefix, checks what the prefix holds, builds a program over
# the core with pkg-config alone, and builds and runs the examples against the prefix.
include(${CMAKE_CURRENT_LIST_DIR}/package_steps.cmake)
require_variables(installed_prefix.cmake BUILD_DIR SOURCE_DIR WORK_DIR GENERATOR CXX LIBDIR LIBSUFFIX)

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

step("installing" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(file include/tickwell/control/vex_clock.hpp include/tickwell/platform/value.hpp
             include/tickwell/qt/vex_clock_widget.hpp include/tickwell/files/form_file.hpp
             include/tickwell/files/file_limits.hpp
             ${LIBDIR}/libtickwell${LIBSUFFIX} ${LIBDIR}/libtickwell-qt${LIBSUFFIX}
             ${LIBDIR}/cmake/Tickwell/TickwellConfig.cmake ${LIBDIR}/pkgconfig/tickwell.pc)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed package lacks ${file}")
  endif()
endforeach()
if(WITH_QUICK)
  foreach(file ${LIBDIR}/libtickwell-quick${LIBSUFFIX} ${QMLDIR}/Tickwell/qmldir
               ${QMLDIR}/Tickwell/libtickwell_quickplugin.so include/tickwell/quick/vex_clock_item.hpp)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "the installed package lacks ${file}")
    endif()
  endforeach()
endif()
# Users reach headers as <tickwell/...> only: nothing else is installed beside include/tickwell.
file(GLOB include_entries RELATIVE ${prefix}/include ${prefix}/include/*)
if(NOT include_entries STREQUAL "tickwell")
  message(FATAL_ERROR "include/ holds more than tickwell/: ${include_entries}")
endif()

# The core through pkg-config, with no CMake in between.
file(WRITE ${WORK_DIR}/core_only.cpp [=[
#include <cstdio>
#include <tickwell/model/check_time.hpp>
#include <tickwell/model/version.hpp>
int main() {
    const auto t = tickwell::Clock::read_time_groups("01:02:05");
    std::printf("core %s reads %g h %g min %g s\n", TICKWELL_VERSION, t.hours, t.minutes, t.seconds);
}
]=])
step("asking pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig
     pkg-config --cflags --libs tickwell)
string(STRIP "${step_output}" pkg_flags)
separate_arguments(pkg_flags UNIX_COMMAND "${pkg_flags}")
separate_arguments(extra_flags UNIX_COMMAND "${FLAGS}")
step("building over pkg-config" ${CXX} -std=c++20 ${extra_flags} ${WORK_DIR}/core_only.cpp
     ${pkg_flags} -Wl,-rpath,${prefix}/${LIBDIR} -o ${WORK_DIR}/core_only)
step("running the pkg-config program" ${WORK_DIR}/core_only)
if(NOT step_output MATCHES "core [0-9.]+ reads 1 h 2 min 5 s")
  message(FATAL_ERROR "the pkg-config program did not use the core:\n${step_output}")
endif()

build_and_run_examples(${prefix} ${WORK_DIR})
