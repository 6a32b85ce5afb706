# What a distribution build carries besides the project's own flags.
#
# Reproducible: two builds of one commit give the same bytes wherever and whenever they
# run. File times (the .deb's entries, the compiled-in resources) come
# from SOURCE_DATE_EPOCH, by default the last commit's time, and no build path reaches
# the binary through __FILE__.
#
# Hardened as Debian builds its own packages: checked string and memory functions, and
# relocations resolved and made read-only at start.

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VELUNOR_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE VELUNOR_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _velunor_git_status ERROR_QUIET)
  if(NOT _velunor_git_status EQUAL 0 OR NOT VELUNOR_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # A source tree without its history: the release is as old as its changelog.
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/packaging/changelog VELUNOR_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
  unset(_velunor_git_status)
endif()
# Every generator the build runs sees the same time: without it, rcc writes each image's
# checkout time into the binary.
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
  "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VELUNOR_SOURCE_DATE_EPOCH}")

if(NOT MSVC)
  # Debug builds keep absolute paths, which debuggers and sanitizer reports want.
  add_compile_options(
    "$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
endif()
if(UNIX AND NOT APPLE)
  # Only where the package comes from: fortified functions and sanitizers do not mix.
  add_compile_options("$<$<CONFIG:Release,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
  add_link_options("$<$<CONFIG:Release,MinSizeRel>:LINKER:-z,relro,-z,now>")
endif()
