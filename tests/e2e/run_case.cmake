# Runs one end-to-end case through a stand-in host and compares what it says
# with what the case expects. Usable with any build of the host:
#
#   cmake -DHOST=dist/vemora-host [-DHOST_LAUNCHER="qemu-i386"] [-DPLUGIN=... [-DPLUGIN_MADE_BY=...]]
#         [-DTWIN_HOST=... [-DTWIN_LAUNCHER=...]] [-DSKIP_MARK=...] [-DVERSION=X.Y.Z.W]
#         -DCASE=tests/e2e/cases/NAME -DWORK=/tmp/somewhere -P run_case.cmake
#
# (for the Windows build: -DHOST=dist/vemora-host.exe -DHOST_LAUNCHER=tools/wine-run.sh).
#
# With TWIN_HOST (the other platform's build of the stand-in), every step is
# run through both, each with a state file of its own, and the two must
# agree byte for byte: exit status, standard output and error, and the state
# file written. Only what cannot be the same in two processes is masked
# first: the state file's path, and addresses in memory (see mask_addresses).
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
# Before comparing with those files, the state file's path reads <state>, a
# build date in the compiler's "Mmm dd yyyy" form reads <build date>, and
# the VERSION given reads <version> (its words in the version block, "a, b,
# c, d" for a.b.c.d, read <version words>): a new version changes no
# expected output.
# Nothing else is changed: a CR before a LF is a difference.
#
# A file that another target makes and is not there (TWIN_HOST, made by
# make linux; PLUGIN, when PLUGIN_MADE_BY names its target) skips the case
# under CTest: it prints SKIP_MARK and what to run, and runs nothing. So does
# a launcher that answers 77, the test harnesses' "skipped" (tools/wine-run.sh
# with VEMORA_NO_WINE set), with the last line it printed. Run by hand (no
# SKIP_MARK), either is an error.
cmake_minimum_required(VERSION 3.20)

macro(skip_case reason)
  if(DEFINED SKIP_MARK)
    message("${SKIP_MARK} ${reason}")
    return()
  endif()
  message(FATAL_ERROR "${reason}")
endmacro()

foreach(required HOST CASE WORK)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_case.cmake needs -D${required}=...")
  endif()
endforeach()

get_filename_component(case_name "${CASE}" NAME)
file(MAKE_DIRECTORY "${WORK}")
set(state "${WORK}/${case_name}.state")
set(twin_state "${WORK}/${case_name}.twin.state")
file(REMOVE "${state}" "${state}.new" "${twin_state}" "${twin_state}.new")
if(DEFINED TWIN_HOST AND NOT TWIN_HOST STREQUAL "")
  if(NOT EXISTS "${TWIN_HOST}")
    skip_case("the stand-in to compare with, ${TWIN_HOST}, is not built: run make linux")
  endif()
  separate_arguments(twin_launcher UNIX_COMMAND "${TWIN_LAUNCHER}")
endif()
if(DEFINED PLUGIN_MADE_BY AND NOT EXISTS "${PLUGIN}")
  skip_case("the plugin ${PLUGIN} is not there: run ${PLUGIN_MADE_BY}")
endif()

separate_arguments(launcher UNIX_COMMAND "${HOST_LAUNCHER}")
set(plugin_args)
if(DEFINED PLUGIN AND NOT PLUGIN STREQUAL "")
  set(plugin_args --plugin "${PLUGIN}")
endif()

function(normalise text out)
  string(REPLACE "${state}" "<state>" text "${text}")
  if(DEFINED VERSION AND NOT VERSION STREQUAL "")
    string(REPLACE "${VERSION}" "<version>" text "${text}")
    string(REPLACE "." ", " version_words "${VERSION}")
    string(REPLACE "${version_words}" "<version words>" text "${text}")
  endif()
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

# For the comparison of two builds: the addresses of memory differ between
# two processes and are masked, and nothing else. An address is masked where
# it is one by its form: the address of a text the trace or an answer quotes
# right after it (the text itself is still compared), and, in a trace, the
# values of the fields that carry the address of a record or of the module
# (p1, module, the module handle answered) and the bytes of the records in
# hex, which hold those addresses; each record's decoded line above its bytes
# still states every field.
function(mask_addresses text trace out)
  string(REGEX REPLACE "0x[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F] \"" "<address> \""
         text "${text}")
  if(trace)
    string(REGEX REPLACE "(p1|module)=0x[0-9A-F]+" "\\1=<address>" text "${text}")
    # Every line on its own (a match takes the line break that ends it).
    foreach(pass 1 2)
      string(REGEX REPLACE "\n( +)= 0x[0-9A-F]+\n" "\n\\1= <address>\n" text "${text}")
      string(REGEX REPLACE "\n +[0-9a-f][0-9a-f]( [0-9a-f][0-9a-f])*\n" "\n<bytes>\n" text "${text}")
    endforeach()
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Runs one step's host command in the case's folder, with the step's script
# as standard input or as the last argument.
function(run_step out_var err_var status_var)
  if(use_stdin)
    execute_process(COMMAND ${ARGN} INPUT_FILE "${CASE}/${script}" WORKING_DIRECTORY "${CASE}"
      OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  else()
    execute_process(COMMAND ${ARGN} "${script}" WORKING_DIRECTORY "${CASE}"
      OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
  set(${status_var} "${status}" PARENT_SCOPE)
endfunction()

function(compare_twins step what mine theirs)
  if(NOT mine STREQUAL theirs)
    string(REPLACE " " "-" what_name "${what}")
    set(kept "${WORK}/${case_name}.${step}.${what_name}")
    file(WRITE "${kept}.host" "${mine}")
    file(WRITE "${kept}.twin" "${theirs}")
    find_program(diff_program diff)
    if(diff_program)
      execute_process(COMMAND "${diff_program}" -u "${kept}.host" "${kept}.twin")
    endif()
    message(FATAL_ERROR "${case_name}/${step}: ${what} of ${HOST} and ${TWIN_HOST} differ "
            "(kept in ${kept}.host and ${kept}.twin)")
  endif()
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
      if(DEFINED TWIN_HOST AND NOT TWIN_HOST STREQUAL "")
        configure_file("${CASE}/${CMAKE_MATCH_1}" "${twin_state}" COPYONLY)
      endif()
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

  set(command ${launcher} "${HOST}" ${plugin_args} --state "${state}" ${args})
  run_step(out err status ${command})
  if(status EQUAL 77 AND launcher)
    string(STRIP "${out}${err}" said)
    string(REGEX REPLACE ".*\n" "" said "${said}")
    skip_case("${said}")
  endif()
  if(DEFINED TWIN_HOST AND NOT TWIN_HOST STREQUAL "")
    set(twin_command ${twin_launcher} "${TWIN_HOST}" --state "${twin_state}" ${args})
    run_step(twin_out twin_err twin_status ${twin_command})
    compare_twins(${step} "exit status" "${status}" "${twin_status}")
    set(trace FALSE)
    if("--trace" IN_LIST args)
      set(trace TRUE)
    endif()
    foreach(stream out err)
      string(REPLACE "${state}" "<state>" mine "${${stream}}")
      string(REPLACE "${twin_state}" "<state>" theirs "${twin_${stream}}")
      mask_addresses("${mine}" ${trace} mine)
      mask_addresses("${theirs}" ${trace} theirs)
      compare_twins(${step} "standard ${stream}" "${mine}" "${theirs}")
    endforeach()
    set(mine "")
    set(theirs "")
    if(EXISTS "${state}")
      file(READ "${state}" mine HEX)
    endif()
    if(EXISTS "${twin_state}")
      file(READ "${twin_state}" theirs HEX)
    endif()
    compare_twins(${step} "state files" "${mine}" "${theirs}")
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
