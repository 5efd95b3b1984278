# cmake -DSTAMP=file -P write_build_day.cmake: writes the build day into STAMP,
# leaving the file (and its time) alone when the day has not changed. The day
# is the local and the UTC date, both from SOURCE_DATE_EPOCH when it is set,
# so that a change of either the calendar or SOURCE_DATE_EPOCH is seen.
string(TIMESTAMP local_day "%Y-%m-%d")
string(TIMESTAMP utc_day "%Y-%m-%d" UTC)
set(day "local ${local_day} utc ${utc_day} epoch $ENV{SOURCE_DATE_EPOCH}\n")
if(EXISTS "${STAMP}")
  file(READ "${STAMP}" previous)
  if(previous STREQUAL day)
    return()
  endif()
endif()
file(WRITE "${STAMP}" "${day}")
