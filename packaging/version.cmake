# The version as users have always seen it: the major number, a full stop and the
# minor number in two digits ("1.00" for 1.0.0.0).
math(EXPR _velunor_minor "100 + ${PROJECT_VERSION_MINOR}")
string(SUBSTRING "${_velunor_minor}" 1 2 _velunor_minor)
set(VELUNOR_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${_velunor_minor}")
unset(_velunor_minor)
