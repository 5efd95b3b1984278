#!/usr/bin/env bash
# Builds the release archives twice from these sources with one
# SOURCE_DATE_EPOCH, in two build trees of different paths and under two time
# zones, as `make release` in two clones would, and checks that the two sets
# are byte for byte the same, that every entry is dated the epoch (in UTC),
# that the released DLL's settings page shows the epoch's day in UTC, and that
# nothing released records a build or checkout path. Only the library is
# built, twice, each time as the release tree builds it (its preset), but in
# a folder of the test's own.
#
#   check_reproducible.sh CMAKE SOURCE_DIR VERSION
set -u
usage="usage: check_reproducible.sh CMAKE SOURCE_DIR VERSION"
cmake=${1:?$usage}
source_dir=${2:?$usage}
version=${3:?$usage}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# 2004-03-09 12:00 UTC; in UTC+14 it is already the 10th.
export SOURCE_DATE_EPOCH=1078833600
expected_date="Mar  9 2004"
expected_entry_time="2004-03-09 12:00:00"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build() { # tree, time zone
  local tree=$work/$1
  TZ=$2 "$cmake" -S "$source_dir" --preset release -B "$tree" -DVEMORA_RELEASE_DIR="$tree/dist/release" \
    >"$work/$1.log" 2>&1 &&
  TZ=$2 "$cmake" --build "$tree" -j 2 --target vemora_release >>"$work/$1.log" 2>&1 ||
  { cat "$work/$1.log"; echo "FAIL: release build in $tree"; exit 1; }
}

build one UTC
build second-tree Pacific/Kiritimati
first=$work/one/dist/release
second=$work/second-tree/dist/release
archives=("Vemora-$version.zip" "Vemora-$version-debug.zip" SHA256SUMS)

[ "$(ls "$first")" = "$(ls "$second")" ] || fail "the two builds wrote different files: $(ls "$first") / $(ls "$second")"
for file in "${archives[@]}"; do
  if [ ! -f "$first/$file" ]; then fail "$file was not written"; continue; fi
  cmp -s "$first/$file" "$second/$file" || fail "$file differs between the builds: $(cmp "$first/$file" "$second/$file" | head -1)"
done
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }

# What is inside, as a user unpacks it.
unpacked=$work/unpacked
for zip in "${archives[@]:0:2}"; do
  python3 -m zipfile -e "$first/$zip" "$unpacked" || fail "cannot unpack $zip"
  # python3 -m zipfile -l: name, date, time, size; one line per entry after the heading.
  while read -r name day time _; do
    [ "$day $time" = "$expected_entry_time" ] || fail "$zip: $name is dated $day $time, expected $expected_entry_time"
  done < <(python3 -m zipfile -l "$first/$zip" | tail -n +2)
done

grep -qaF -- "$expected_date" "$unpacked/Vemora.dll" || fail "build date '$expected_date' not found in the released DLL"
for path in "$work" "$source_dir"; do
  for file in "$unpacked"/*; do
    ! grep -qaF -- "$path" "$file" || fail "$(basename "$file") records the path $path"
  done
done

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "Vemora-$version.zip and its debug archive: two builds identical, entries dated $expected_entry_time UTC," \
  "the DLL dated $expected_date, no build paths"
