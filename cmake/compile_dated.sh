#!/bin/sh
# compile_dated.sh EPOCH_FILE COMPILER ARGUMENTS...: a compiler launcher that
# runs the compiler with SOURCE_DATE_EPOCH read from EPOCH_FILE, which dates
# __DATE__ (cmake/build_date.cmake writes the file before every build).
epoch_file=$1
shift
SOURCE_DATE_EPOCH=$(cat "$epoch_file") || exit 1
export SOURCE_DATE_EPOCH
exec "$@"
