# Run by CPack once the .deb is built, before it is copied to where it goes:
# its bill of materials goes there too.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "([^/]+)\\.deb$")
    execute_process(COMMAND "${CPACK_VELUNOR_MAKE_DEB_SBOM}" "${package}"
      "${CPACK_PACKAGE_DIRECTORY}/${CMAKE_MATCH_1}.cdx.json" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
