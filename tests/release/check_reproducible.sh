#!/usr/bin/env bash
# Builds the release archives a second time as a copy without history would:
# from a `git archive` export of the sources (what a "download ZIP" holds),
# in a build tree of another path, under a time zone whose day is not the UTC
# day of the release's moment. When tracked files have uncommitted changes,
# the export is of a commit of them that no branch keeps (`git stash
# create`), so that it holds what the release tree built; sources that are
# no git work tree are built again as they are. Checks that its archives are
# byte for byte those of the release tree (RELEASE_DIR, made by the fixture
# before), that every entry is dated the release's moment in UTC, that the
# released DLL's settings page shows that moment's day in UTC, and that
# nothing released records a build, export or checkout path. Exit 77 (a
# skip) while entries wait under [Unreleased]: there is no release to build.
#
#   check_reproducible.sh CMAKE SOURCE_DIR VERSION RELEASE_DIR
set -u -o pipefail
usage="usage: check_reproducible.sh CMAKE SOURCE_DIR VERSION RELEASE_DIR"
cmake=${1:?$usage}
source_dir=${2:?$usage}
version=${3:?$usage}
first=${4:?$usage}
python=${PYTHON:-python3}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The release's name and the moment it is dated by (SOURCE_DATE_EPOCH, else
# its day in CHANGELOG.md), found as the release tree finds them.
release() { "$python" "$source_dir/tools/make_release.py" "$@" --version "$version" --source-dir "$source_dir"; }
release_name=$(release --name 2>&1)
status=$?
# 3: tools/make_release.py's status when entries wait under [Unreleased].
[ "$status" -ne 3 ] || { echo "SKIPPED: no release to build: $release_name"; exit 77; }
[ "$status" -eq 0 ] || { echo "FAIL: no release name: $release_name"; exit 1; }
epoch=$(release --epoch) || { echo "FAIL: no moment to date the release by"; exit 1; }
expected_date=$(TZ=UTC LC_ALL=C date -d "@$epoch" '+%b %e %Y')
# A zip entry keeps its time to two seconds, rounded down.
expected_entry_time=$(TZ=UTC date -d "@$((epoch - epoch % 2))" '+%Y-%m-%d %H:%M:%S')
# From 10:00 UTC on, UTC+14 is a day ahead; before 12:00 UTC, UTC-12 is a
# day behind: either way the local day differs from the UTC day.
if [ "$(TZ=UTC date -d "@$epoch" +%-H)" -ge 10 ]; then zone=Pacific/Kiritimati; else zone=Etc/GMT+12; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy=$source_dir
origin="the same sources"
if [ "$(git -C "$source_dir" rev-parse --show-toplevel 2>/dev/null)" -ef "$source_dir" ]; then
  copy=$work/export
  # The identity only names the stash commit, which nothing keeps.
  commit=$(GIT_AUTHOR_NAME=release GIT_AUTHOR_EMAIL=release@localhost GIT_COMMITTER_NAME=release \
    GIT_COMMITTER_EMAIL=release@localhost git -C "$source_dir" stash create) || { echo "FAIL: git stash create"; exit 1; }
  origin="a git archive export of ${commit:-HEAD}${commit:+ (the tracked files as they are)}"
  commit=${commit:-HEAD}
  mkdir "$copy" && git -C "$source_dir" archive --format=tar "$commit" | tar -x -C "$copy" ||
    { echo "FAIL: cannot export $commit of $source_dir"; exit 1; }
fi
tree=$work/second-tree
second=$tree/dist/release
{ TZ=$zone "$cmake" -S "$copy" --preset release -B "$tree" -DVEMORA_RELEASE_DIR="$second" &&
  TZ=$zone "$cmake" --build "$tree" --target vemora_release; } >"$work/build.log" 2>&1 ||
  { cat "$work/build.log"; echo "FAIL: release build of $copy in $tree"; exit 1; }

archives=("Vemora-$release_name.zip" "Vemora-$release_name-debug.zip" SHA256SUMS)
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
echo "Vemora-$release_name.zip and its debug archive: built again from $origin in $zone, identical," \
  "entries dated $expected_entry_time UTC, the DLL dated $expected_date, no build paths"
