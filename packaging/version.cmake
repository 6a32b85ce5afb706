# The version as users have always seen it: the major number, a full stop and the
# minor number in two digits ("1.00" for 1.0.0.0).
function(velunor_version_text out numeric)
  string(REPLACE "." ";" parts "${numeric}")
  list(GET parts 0 major)
  list(GET parts 1 minor)
  math(EXPR minor "100 + ${minor}")
  string(SUBSTRING "${minor}" 1 2 minor)
  set(${out} "${major}.${minor}" PARENT_SCOPE)
endfunction()

velunor_version_text(VELUNOR_VERSION_TEXT ${PROJECT_VERSION})
