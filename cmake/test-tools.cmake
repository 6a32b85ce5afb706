# What the tests run besides the project's own programs. A tool that is missing
# stops the configuration with its name and the Debian package that has it,
# rather than leave tests out: `scripts/install-deps --test` installs them all.

set(_velunor_missing)

# velunor_test_tool(VAR PROGRAM PACKAGE [find_program options...])
macro(velunor_test_tool var program package)
  find_program(${var} ${program} ${ARGN})
  if(NOT ${var})
    list(APPEND _velunor_missing "${program} (${package})")
  endif()
endmacro()

# velunor_system_python_module(MODULE PACKAGE): the distribution's Python imports it.
macro(velunor_system_python_module module package)
  velunor_test_tool(VELUNOR_SYSTEM_PYTHON python3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(VELUNOR_SYSTEM_PYTHON)
    execute_process(COMMAND ${VELUNOR_SYSTEM_PYTHON} -c "import ${module}"
      RESULT_VARIABLE _velunor_import OUTPUT_QUIET ERROR_QUIET)
    if(NOT _velunor_import EQUAL 0)
      list(APPEND _velunor_missing "${module} (${package})")
    endif()
  endif()
endmacro()

find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
  list(APPEND _velunor_missing "python3 (python3)")
endif()

if(CMAKE_CROSSCOMPILING)
  # No GoogleTest for the target system is installed: the build compiles Debian's sources.
  set(VELUNOR_GTEST_SOURCES /usr/src/googletest)
  if(NOT EXISTS ${VELUNOR_GTEST_SOURCES}/CMakeLists.txt)
    list(APPEND _velunor_missing "GoogleTest sources (googletest)")
  endif()
else()
  find_package(GTest)
  if(NOT GTest_FOUND)
    list(APPEND _velunor_missing "GoogleTest (libgtest-dev)")
  endif()
endif()

if(VELUNOR_BUILD_APP AND NOT WIN32)
  # tests/on-x11: a desktop session of the test's own, and a window manager for some.
  velunor_test_tool(VELUNOR_XVFB Xvfb xvfb)
  velunor_test_tool(VELUNOR_DBUS_DAEMON dbus-daemon dbus)
  velunor_test_tool(VELUNOR_OPENBOX openbox openbox)
  velunor_test_tool(VELUNOR_VALGRIND valgrind valgrind)
  velunor_test_tool(VELUNOR_DESKTOP_FILE_VALIDATE desktop-file-validate desktop-file-utils)
  velunor_test_tool(VELUNOR_APPSTREAMCLI appstreamcli appstream)
  velunor_test_tool(VELUNOR_AT_SPI_LAUNCHER at-spi-bus-launcher at-spi2-core
    PATHS /usr/libexec NO_DEFAULT_PATH)
  # The screen reader's side of the accessibility bus is the distribution's Python.
  velunor_system_python_module(pyatspi python3-pyatspi)
  velunor_system_python_module(orca orca)
  # The window suite switches Qt's accessibility on through Qt's platform headers.
  file(GLOB _velunor_qpa /usr/include/*/qt6/QtGui/*/QtGui/qpa/qplatformaccessibility.h)
  if(NOT _velunor_qpa)
    list(APPEND _velunor_missing "Qt's platform headers (qt6-base-private-dev)")
  endif()
  if(VELUNOR_BUILD_PACKAGING)
    velunor_test_tool(VELUNOR_LINTIAN lintian lintian)
  endif()
endif()

if(VELUNOR_BUILD_PACKAGING)
  # The packages' bills of materials are checked against the official CycloneDX
  # schema, which scripts/install-deps --test installs from its npm package.
  velunor_system_python_module(jsonschema python3-jsonschema)
  find_path(VELUNOR_CYCLONEDX_SCHEMAS bom-1.5.SNAPSHOT.schema.json
    PATHS /usr/local/share/velunor/cyclonedx-library-10.3.0/res/schema NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
  if(NOT VELUNOR_CYCLONEDX_SCHEMAS)
    list(APPEND _velunor_missing "the CycloneDX 1.5 schema (npm @cyclonedx/cyclonedx-library)")
  endif()
endif()

if(_velunor_missing)
  list(JOIN _velunor_missing ", " _velunor_missing)
  message(FATAL_ERROR "The tests need what is not installed: ${_velunor_missing}. "
    "scripts/install-deps --test installs it (or configure with -DBUILD_TESTING=OFF "
    "to build without the tests).")
endif()
