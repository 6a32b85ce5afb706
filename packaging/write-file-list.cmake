# The last install rule: writes the list of every file installed before it,
# each as sha256sum prints it (SHA-256, two spaces, the path from the prefix),
# which `velunor --self-test` checks the installed copy against. The files are
# hashed as installed, after stripping. Set velunor_file_list to the list's
# path under the prefix.
# The manifest names each file without DESTDIR, where the package will put it.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(files ${CMAKE_INSTALL_MANIFEST_FILES})
list(REMOVE_DUPLICATES files)
list(SORT files)
set(lines "")
foreach(file IN LISTS files)
  file(RELATIVE_PATH path "${CMAKE_INSTALL_PREFIX}" "${file}")
  if(path MATCHES "^\\.\\./" OR IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${file} is installed outside ${CMAKE_INSTALL_PREFIX}: the list cannot name it")
  endif()
  file(SHA256 "$ENV{DESTDIR}${file}" hash)
  string(APPEND lines "${hash}  ${path}\n")
endforeach()
file(WRITE "${root}/${velunor_file_list}" "${lines}")
# 0644 in a 0755 folder, as every other installed file, whatever the umask.
get_filename_component(folder "${root}/${velunor_file_list}" DIRECTORY)
file(CHMOD "${folder}" PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD "${root}/${velunor_file_list}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/${velunor_file_list}")
