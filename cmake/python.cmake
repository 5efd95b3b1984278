# Python 3, which the build (icons, the release's moment and archives) and
# the tests' scripts run: the interpreter itself, asked once where it lives.
# A launcher that picks an interpreter at every start (pyenv's shims) takes
# almost half a second a start, and a test run starts Python some seventy
# times. Python3_EXECUTABLE given at configure wins.
if(NOT Python3_EXECUTABLE)
  find_program(VEMORA_PYTHON3_ON_PATH python3 REQUIRED)
  execute_process(COMMAND ${VEMORA_PYTHON3_ON_PATH} -c "import sys; print(sys.executable)"
    OUTPUT_VARIABLE interpreter OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(status EQUAL 0 AND EXISTS "${interpreter}")
    set(Python3_EXECUTABLE ${interpreter} CACHE FILEPATH "Python 3's interpreter")
  endif()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
