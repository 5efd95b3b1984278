#!/usr/bin/env bash
# Builds the release archives a second time from these sources, as
# `make release` in a second clone would: in a build tree of another path,
# under a time zone whose day is not the UTC day of the release's moment.
# Checks that its archives are byte for byte those of the release tree
# (RELEASE_DIR, made by the fixture before), that every entry is dated the
# release's moment in UTC, that the released DLL's settings page shows that
# moment's day in UTC, and that nothing released records a build or
# checkout path.
#
#   check_reproducible.sh CMAKE SOURCE_DIR VERSION RELEASE_DIR
set -u
usage="usage: check_reproducible.sh CMAKE SOURCE_DIR VERSION RELEASE_DIR"
cmake=${1:?$usage}
source_dir=${2:?$usage}
version=${3:?$usage}
first=${4:?$usage}
python=${PYTHON:-python3}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The moment the release tree dates everything by (SOURCE_DATE_EPOCH, else
# the last commit), found the way it finds it.
epoch=$("$python" "$source_dir/tools/make_release.py" --epoch --version "$version" --source-dir "$source_dir") ||
  { echo "FAIL: no moment to date the release by"; exit 1; }
expected_date=$(TZ=UTC LC_ALL=C date -d "@$epoch" '+%b %e %Y')
# A zip entry keeps its time to two seconds, rounded down.
expected_entry_time=$(TZ=UTC date -d "@$((epoch - epoch % 2))" '+%Y-%m-%d %H:%M:%S')
# From 10:00 UTC on, UTC+14 is a day ahead; before 12:00 UTC, UTC-12 is a
# day behind: either way the local day differs from the UTC day.
if [ "$(TZ=UTC date -d "@$epoch" +%-H)" -ge 10 ]; then zone=Pacific/Kiritimati; else zone=Etc/GMT+12; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/second-tree
second=$tree/dist/release
{ TZ=$zone "$cmake" -S "$source_dir" --preset release -B "$tree" -DVEMORA_RELEASE_DIR="$second" &&
  TZ=$zone "$cmake" --build "$tree" --target vemora_release; } >"$work/build.log" 2>&1 ||
  { cat "$work/build.log"; echo "FAIL: release build in $tree"; exit 1; }

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
  "$python" -m zipfile -e "$second/$zip" "$unpacked" || fail "cannot unpack $zip"
  # python -m zipfile -l: name, date, time, size; one line per entry after the heading.
  while read -r name day time _; do
    [ "$day $time" = "$expected_entry_time" ] || fail "$zip: $name is dated $day $time, expected $expected_entry_time"
  done < <("$python" -m zipfile -l "$second/$zip" | tail -n +2)
done

grep -qaF -- "$expected_date" "$unpacked/Vemora.dll" || fail "build date '$expected_date' (UTC) not found in the released DLL"
for path in "$work" "$source_dir"; do
  for file in "$unpacked"/*; do
    ! grep -qaF -- "$path" "$file" || fail "$(basename "$file") records the path $path"
  done
done

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "Vemora-$version.zip and its debug archive: built again in $zone, identical, entries dated" \
  "$expected_entry_time UTC, the DLL dated $expected_date, no build paths"
