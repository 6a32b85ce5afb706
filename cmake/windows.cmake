# What the Windows cross build needs beyond the toolchain: where the MinGW
# runtime DLLs live, and a Wine wrapper that CTest runs every Windows program
# through (Wine itself is needed only then).
find_program(VELUNOR_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)

set(VELUNOR_MINGW_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(path "${path}" REALPATH)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "MinGW runtime ${dll} not found")
  endif()
  list(APPEND VELUNOR_MINGW_RUNTIME_DLLS "${path}")
endforeach()

# Wine sees the Linux file system as drive Z:.
set(wine_path "")
foreach(dir IN ITEMS "${VELUNOR_WINDOWS_QT}/bin" ${VELUNOR_MINGW_RUNTIME_DLLS})
  if(NOT IS_DIRECTORY "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
  endif()
  string(REPLACE "/" "\\" dir "Z:${dir}")
  list(APPEND wine_path "${dir}")
endforeach()
list(REMOVE_DUPLICATES wine_path)
list(JOIN wine_path ";" VELUNOR_WINE_PATH)

configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
