# Velunor's version is written once, in the file VERSION, as users have always
# seen it: the major number, a full stop and the minor number in two digits
# ("1.00" is 1.0.0.0). Everything else reads it from here.

# "1.00" -> 1.0.0.0
function(velunor_version_numeric out text)
  if(NOT text MATCHES "^([0-9]+)\\.([0-9][0-9])$")
    message(FATAL_ERROR "version '${text}' is not MAJOR.MM")
  endif()
  math(EXPR minor "${CMAKE_MATCH_2}")  # no leading zero
  set(${out} "${CMAKE_MATCH_1}.${minor}.0.0" PARENT_SCOPE)
endfunction()

# 1.0.0.0 -> "1.00"
function(velunor_version_text out numeric)
  string(REPLACE "." ";" parts "${numeric}")
  list(GET parts 0 major)
  list(GET parts 1 minor)
  math(EXPR minor "100 + ${minor}")
  string(SUBSTRING "${minor}" 1 2 minor)
  set(${out} "${major}.${minor}" PARENT_SCOPE)
endfunction()

file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../VERSION VELUNOR_VERSION_TEXT LIMIT_COUNT 1)
velunor_version_numeric(VELUNOR_VERSION ${VELUNOR_VERSION_TEXT})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../VERSION)
