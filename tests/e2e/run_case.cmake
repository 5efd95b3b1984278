# Runs one end-to-end case through a stand-in host and compares what it says
# with what the case expects. Usable with any build of the host:
#
#   cmake -DHOST=dist/vemora-host [-DHOST_LAUNCHER="qemu-i386"] [-DPLUGIN=...]
#         -DCASE=tests/e2e/cases/NAME -DWORK=/tmp/somewhere -P run_case.cmake
#
# (for the Windows build: -DHOST=dist/vemora-host.exe -DHOST_LAUNCHER=wine).
#
# A case is a directory of steps run in name order against one state file,
# which starts absent: STEP.script is the host's script, STEP.out the exact
# standard output expected (or STEP.patterns: regular expressions that must
# match output lines in this order), STEP.err the exact standard error
# (absent: none). Lines at the top of a script may say:
#   # args: ARGUMENTS     more command-line arguments (--today ...)
#   # exit: N             the exit status expected (default 0)
#   # stdin               the script is fed on standard input, not named
#   # state: FILE         the state file is replaced by FILE of the case first
#   # state-unchanged     the state file must be byte for byte as before
# Before comparing, CR LF becomes LF, the state file's path reads <state>, and
# a build date in the compiler's "Mmm dd yyyy" form reads <build date>.
cmake_minimum_required(VERSION 3.20)

foreach(required HOST CASE WORK)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_case.cmake needs -D${required}=...")
  endif()
endforeach()

get_filename_component(case_name "${CASE}" NAME)
file(MAKE_DIRECTORY "${WORK}")
set(state "${WORK}/${case_name}.state")
file(REMOVE "${state}" "${state}.new")

separate_arguments(launcher UNIX_COMMAND "${HOST_LAUNCHER}")
set(plugin_args)
if(DEFINED PLUGIN AND NOT PLUGIN STREQUAL "")
  set(plugin_args --plugin "${PLUGIN}")
endif()

function(normalise text out)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "${state}" "<state>" text "${text}")
  string(REGEX REPLACE "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-9][0-9][0-9][0-9]"
         "<build date>" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(compare step what expected_file actual)
  if(EXISTS "${expected_file}")
    file(READ "${expected_file}" expected)
  else()
    set(expected "")
  endif()
  if(NOT actual STREQUAL expected)
    set(kept "${WORK}/${case_name}.${step}.${what}.actual")
    file(WRITE "${kept}" "${actual}")
    find_program(diff_program diff)
    if(diff_program)
      execute_process(COMMAND "${diff_program}" -u "${expected_file}" "${kept}")
    else()
      message(NOTICE "--- expected ---\n${expected}--- actual ---\n${actual}")
    endif()
    message(FATAL_ERROR "${case_name}/${step}: ${what} differs from ${expected_file} (actual kept in ${kept})")
  endif()
endfunction()

function(match_patterns step patterns_file actual)
  file(STRINGS "${patterns_file}" patterns ENCODING UTF-8)
  string(REPLACE ";" "\\;" actual "${actual}")
  string(REPLACE "\n" ";" lines "${actual}")
  set(index 0)
  list(LENGTH lines count)
  foreach(pattern IN LISTS patterns)
    set(found FALSE)
    while(index LESS count)
      list(GET lines ${index} line)
      math(EXPR index "${index} + 1")
      if(line MATCHES "${pattern}")
        set(found TRUE)
        break()
      endif()
    endwhile()
    if(NOT found)
      message(NOTICE "--- output ---\n${actual}")
      message(FATAL_ERROR "${case_name}/${step}: no output line (in order) matches: ${pattern}")
    endif()
  endforeach()
endfunction()

file(GLOB scripts RELATIVE "${CASE}" "${CASE}/*.script")
list(SORT scripts)
if(NOT scripts)
  message(FATAL_ERROR "${CASE} holds no .script")
endif()

foreach(script IN LISTS scripts)
  string(REGEX REPLACE "\\.script$" "" step "${script}")
  set(args)
  set(expected_exit 0)
  set(use_stdin FALSE)
  set(keep_state FALSE)
  file(STRINGS "${CASE}/${script}" header ENCODING UTF-8)
  foreach(line IN LISTS header)
    if(line MATCHES "^# args: (.*)$")
      separate_arguments(more UNIX_COMMAND "${CMAKE_MATCH_1}")
      list(APPEND args ${more})
    elseif(line MATCHES "^# exit: ([0-9]+)$")
      set(expected_exit ${CMAKE_MATCH_1})
    elseif(line MATCHES "^# stdin$")
      set(use_stdin TRUE)
    elseif(line MATCHES "^# state: (.+)$")
      configure_file("${CASE}/${CMAKE_MATCH_1}" "${state}" COPYONLY)
    elseif(line MATCHES "^# state-unchanged$")
      set(keep_state TRUE)
    elseif(NOT line MATCHES "^#")
      break()
    endif()
  endforeach()

  set(before "")
  if(keep_state AND EXISTS "${state}")
    file(READ "${state}" before HEX)
  endif()

  set(command ${launcher} "${HOST}" ${plugin_args} --state "${state}" --bold never ${args})
  if(use_stdin)
    execute_process(COMMAND ${command} INPUT_FILE "${CASE}/${script}" WORKING_DIRECTORY "${CASE}"
      OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  else()
    execute_process(COMMAND ${command} "${script}" WORKING_DIRECTORY "${CASE}"
      OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  endif()
  normalise("${out}" out)
  normalise("${err}" err)

  if(NOT status STREQUAL expected_exit)
    message(NOTICE "--- output ---\n${out}--- errors ---\n${err}")
    message(FATAL_ERROR "${case_name}/${step}: exit status ${status}, expected ${expected_exit}")
  endif()
  if(EXISTS "${CASE}/${step}.patterns")
    match_patterns(${step} "${CASE}/${step}.patterns" "${out}")
  else()
    compare(${step} output "${CASE}/${step}.out" "${out}")
  endif()
  compare(${step} errors "${CASE}/${step}.err" "${err}")

  if(keep_state)
    set(after "")
    if(EXISTS "${state}")
      file(READ "${state}" after HEX)
    endif()
    if(NOT after STREQUAL before)
      message(FATAL_ERROR "${case_name}/${step}: the state file was changed")
    endif()
  endif()
endforeach()
