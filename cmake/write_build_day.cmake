# cmake -DSTAMP=file [-DEPOCH_FILE=file -DPYTHON=python3 -DSOURCE_DIR=dir
#       -DVERSION=x.y.z.w [-DSNAPSHOT=ON]] -P write_build_day.cmake
# Writes the build day into STAMP, leaving the file (and its time) alone when
# the day has not changed. The day is the local and the UTC date, both from
# SOURCE_DATE_EPOCH when it is set, so that a change of either the calendar
# or SOURCE_DATE_EPOCH is seen. With EPOCH_FILE, SOURCE_DATE_EPOCH is the
# release's moment (tools/make_release.py --epoch, --snapshot with SNAPSHOT),
# kept in EPOCH_FILE for the compiler (cmake/compile_dated.sh). When the
# release is refused (entries under [Unreleased], say), the script's own line
# says why, above the error.
function(write_if_changed file content)
  if(EXISTS "${file}")
    file(READ "${file}" previous)
    if(previous STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${file}" "${content}")
endfunction()

if(DEFINED EPOCH_FILE)
  set(snapshot)
  if(SNAPSHOT)
    set(snapshot --snapshot)
  endif()
  execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tools/make_release.py" --epoch --version "${VERSION}"
      --source-dir "${SOURCE_DIR}" ${snapshot}
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "no release to build (tools/make_release.py --epoch, above)")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
  write_if_changed("${EPOCH_FILE}" "${epoch}\n")
endif()
string(TIMESTAMP local_day "%Y-%m-%d")
string(TIMESTAMP utc_day "%Y-%m-%d" UTC)
write_if_changed("${STAMP}" "local ${local_day} utc ${utc_day} epoch $ENV{SOURCE_DATE_EPOCH}\n")
