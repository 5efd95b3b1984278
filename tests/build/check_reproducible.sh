#!/usr/bin/env bash
# Builds Vemora.dll twice from these sources with one SOURCE_DATE_EPOCH, in two
# build trees of different paths and under two time zones, and checks that
# the two files are identical, that the settings page's build date is the
# epoch's day in UTC, and that no build or checkout path is left in the file.
#
#   check_reproducible.sh CMAKE SOURCE_DIR
set -u
cmake=${1:?usage: check_reproducible.sh CMAKE SOURCE_DIR}
source_dir=${2:?usage: check_reproducible.sh CMAKE SOURCE_DIR}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# 2004-03-09 12:00 UTC; in UTC+14 it is already the 10th.
export SOURCE_DATE_EPOCH=1078833600
expected_date="Mar  9 2004"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build() { # tree, time zone
  local tree=$work/$1
  TZ=$2 "$cmake" -S "$source_dir" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-mingw-i686.cmake" \
    -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMORA_DIST_DIR="$tree/dist" >"$work/$1.log" 2>&1 &&
  TZ=$2 "$cmake" --build "$tree" -j 2 >>"$work/$1.log" 2>&1 ||
  { cat "$work/$1.log"; echo "FAIL: build in $tree"; exit 1; }
}

build one UTC
build second-tree Pacific/Kiritimati
first=$work/one/dist/Vemora.dll
second=$work/second-tree/dist/Vemora.dll

cmp -s "$first" "$second" || fail "two builds differ: $(cmp "$first" "$second" | head -1)"
grep -qaF -- "$expected_date" "$first" || fail "build date '$expected_date' not found in the DLL"
for path in "$work" "$source_dir"; do
  ! grep -qaF -- "$path" "$first" || fail "the DLL records the path $path"
done

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "Vemora.dll: two builds identical, dated $expected_date, no build paths"
