# Run by cpack after it made the packages, before it copies them out (CPACK_POST_BUILD_SCRIPTS):
# each debug-symbol package (NAME-dbgsym_*.ddeb) is remade in place as Debian's own tools make
# one. cpack's lists the staging folder's absolute paths in its md5sums and has no
# /usr/share/doc; here the md5sums name the installed paths, the debug files are 0644 as data,
# and /usr/share/doc/NAME-dbgsym links to the folder of NAME, which it depends on.
set(ddebs ${CPACK_PACKAGE_FILES})
list(FILTER ddebs INCLUDE REGEX "-dbgsym_[^/]*\\.ddeb$")
foreach(ddeb IN LISTS ddebs)
  get_filename_component(folder "${ddeb}" DIRECTORY)
  get_filename_component(file_name "${ddeb}" NAME)
  set(tree "${folder}/dbgsym-trees/${file_name}")
  file(REMOVE_RECURSE "${tree}")
  file(MAKE_DIRECTORY "${folder}/dbgsym-trees")
  execute_process(COMMAND dpkg-deb -R "${ddeb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND dpkg-deb -f "${ddeb}" Package OUTPUT_VARIABLE package
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "-dbgsym$" "" debugged "${package}")

  file(GLOB_RECURSE debug_files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/usr/*")
  list(SORT debug_files)
  set(md5sums "")
  foreach(debug_file IN LISTS debug_files)
    file(CHMOD "${tree}/${debug_file}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    file(MD5 "${tree}/${debug_file}" sum)
    string(APPEND md5sums "${sum}  ${debug_file}\n")
  endforeach()
  file(WRITE "${tree}/DEBIAN/md5sums" "${md5sums}")
  file(MAKE_DIRECTORY "${tree}/usr/share/doc")
  file(CREATE_LINK "${debugged}" "${tree}/usr/share/doc/${package}" SYMBOLIC)

  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -b "${tree}" "${ddeb}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()
