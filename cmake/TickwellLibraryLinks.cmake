# Writes, for the architecture check, each target built from src, hosts and apps: the folder
# it is defined in, and the targets it links and those it passes on to whoever links it.
# One target a line: NAME <tab> SOURCE_DIR <tab> LINK_LIBRARIES <tab> INTERFACE_LINK_LIBRARIES,
# the lists separated by ';' as CMake keeps them.
function(_tickwell_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    _tickwell_targets_below(${subdir} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(tickwell_write_library_links output)
  set(lines "")
  foreach(dir ${ARGN})
    _tickwell_targets_below(${dir} targets)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(NOT type MATCHES "^(STATIC|SHARED|MODULE|OBJECT|INTERFACE)_LIBRARY$|^EXECUTABLE$")
        continue()
      endif()
      get_target_property(source_dir ${target} SOURCE_DIR)
      string(APPEND lines "${target}\t${source_dir}\t"
             "$<TARGET_PROPERTY:${target},LINK_LIBRARIES>\t"
             "$<TARGET_PROPERTY:${target},INTERFACE_LINK_LIBRARIES>\n")
    endforeach()
  endforeach()
  file(GENERATE OUTPUT ${output} CONTENT "${lines}")
endfunction()
