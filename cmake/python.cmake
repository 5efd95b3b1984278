# Python 3, which the build (icons, the release's moment and archives) and
# the tests' scripts run: the interpreter itself, asked once where it lives.
# A launcher that picks an interpreter at every start (pyenv's shims) takes
# almost half a second a start, and a test run starts Python some seventy
# times. The checks of the built libraries read them with Debian's pefile and
# pyelftools (python3-pefile, python3-pyelftools), which only Debian's own
# interpreter has: /usr/bin/python3 comes first where it has them, then
# python3 on PATH. Python3_EXECUTABLE given at configure wins; the pick of an
# earlier configure (cached under the help text below) is made again.
set(VEMORA_PYTHON3_HELP "Python 3's interpreter")
set(VEMORA_PYTHON3_MODULES pefile elftools)
get_property(vemora_python3_help CACHE Python3_EXECUTABLE PROPERTY HELPSTRING)
if(NOT Python3_EXECUTABLE OR vemora_python3_help STREQUAL VEMORA_PYTHON3_HELP)
  find_program(VEMORA_PYTHON3_ON_PATH python3 REQUIRED)
  list(JOIN VEMORA_PYTHON3_MODULES ", " modules)
  set(picked "")
  foreach(candidate /usr/bin/python3 ${VEMORA_PYTHON3_ON_PATH})
    if(NOT EXISTS ${candidate})
      continue()
    endif()
    execute_process(COMMAND ${candidate} -c "import sys; print(sys.executable); import ${modules}"
      OUTPUT_VARIABLE interpreter OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
    if(NOT picked AND EXISTS "${interpreter}")
      # The first that runs, should none have the modules: the checks then
      # fail saying which module is missing.
      set(picked ${interpreter})
    endif()
    if(status EQUAL 0 AND EXISTS "${interpreter}")
      set(picked ${interpreter})
      break()
    endif()
  endforeach()
  if(picked)
    set(Python3_EXECUTABLE ${picked} CACHE FILEPATH "${VEMORA_PYTHON3_HELP}" FORCE)
  endif()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
