# What every Velunor target builds with, carried by the interface target
# velunor_flags that each of them links:
# - strict warnings, errors with VELUNOR_WERROR;
# - reproducible: no build path reaches a non-Debug binary through __FILE__;
# - hardened as Debian builds its own packages: checked string and memory
#   functions, and relocations resolved and made read-only at start.
# Fortified functions and sanitizers do not mix, so only release builds fortify.

add_library(velunor_flags INTERFACE)
if(MSVC)
  target_compile_options(velunor_flags INTERFACE /W4 $<$<BOOL:${VELUNOR_WERROR}>:/WX>)
else()
  target_compile_options(velunor_flags INTERFACE -Wall -Wextra -Wpedantic
    $<$<BOOL:${VELUNOR_WERROR}>:-Werror>
    # Debug builds keep absolute paths, which debuggers and sanitizer reports want.
    "$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
endif()
if(UNIX AND NOT APPLE)
  target_compile_options(velunor_flags INTERFACE "$<$<CONFIG:Release,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
  target_link_options(velunor_flags INTERFACE "$<$<CONFIG:Release,MinSizeRel>:LINKER:-z,relro,-z,now>")
endif()

# A sanitizer build (the asan and fuzz presets) carries a memory checker of its
# own and runs several times slower; the tests that care ask this.
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  set(VELUNOR_SANITIZED ON)
else()
  set(VELUNOR_SANITIZED OFF)
endif()

# Two builds of one commit give the same bytes wherever and whenever they run: every
# generator the build runs (rcc, the packers) sees the same SOURCE_DATE_EPOCH, by default
# the last commit's time; without it, rcc writes each image's checkout time into the binary.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VELUNOR_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE VELUNOR_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _velunor_git_status ERROR_QUIET)
  if(NOT _velunor_git_status EQUAL 0 OR NOT VELUNOR_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # A source tree without its history: the release is as old as its version file.
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/VERSION VELUNOR_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
  unset(_velunor_git_status)
endif()
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
  "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VELUNOR_SOURCE_DATE_EPOCH}")
