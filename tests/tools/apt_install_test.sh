#!/usr/bin/env bash
# tools/apt-install.sh against a stand-in apt (apt-get, dpkg-query and id on
# PATH) that can fail the way a Debian archive caught mid-sync does: the
# update stops at one index of the wrong size, the plain install cannot
# resolve the i386 libraries against the installed amd64 versions, and the
# install from the release's own suite works. Each case checks the exit
# status, the calls apt got in their order, and what ended up installed.
#   apt_install_test.sh tools/apt-install.sh
set -u
script=${1:?usage: apt_install_test.sh tools/apt-install.sh}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
# Logs its call; the FAKE_* variables say which calls fail.
echo "$*" >>"$FAKE_APT/calls"
case "$1" in
  update)
    if [ "$FAKE_UPDATE" = fail ]; then
      echo "E: Failed to fetch store:/var/lib/apt/lists/partial/debian-security_dists_bookworm-security_main_binary-i386_Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
      exit 100
    fi ;;
  install)
    shift
    suite= packages=()
    while [ $# -gt 0 ]; do
      case "$1" in -t) suite=$2; shift ;; -*) ;; *) packages+=("$1") ;; esac
      shift
    done
    if [[ " $FAKE_INSTALLS_FROM " != *" ${suite:-(any)} "* ]]; then
      echo " libfreetype6:i386 : Depends: zlib1g:i386 (>= 1:1.1.4) but it is not going to be installed"
      echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
      exit 100
    fi
    printf '%s\n' "${packages[@]}" >>"$FAKE_APT/installed" ;;
esac
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
# dpkg-query -W -f=FORMAT PACKAGE
grep -qxF -- "$3" "$FAKE_APT/installed" 2>/dev/null || exit 1
printf 'install ok installed'
EOF
printf '#!/bin/sh\necho "$FAKE_UID"\n' >"$work/bin/id"
chmod +x "$work/bin"/*

printf 'PRETTY_NAME="Debian GNU/Linux 13 (trixie)"\nVERSION_CODENAME=trixie\n' >"$work/os-release"
printf 'PRETTY_NAME="Some Linux"\n' >"$work/os-release-without-codename"

# run NAME UPDATE INSTALLS_FROM INSTALLED [ARGS...]: the script on a machine
# where INSTALLED (space-separated) is installed; INSTALLS_FROM lists the
# suites an install works from ("(any)" for an install without -t).
run() {
  local name=$1
  export FAKE_APT=$work/$name FAKE_UPDATE=$2 FAKE_INSTALLS_FROM=$3 FAKE_UID=${FAKE_UID:-0}
  mkdir -p "$FAKE_APT"
  : >"$FAKE_APT/calls"
  [ -z "$4" ] || printf '%s\n' $4 >"$FAKE_APT/installed"
  shift 4
  out=$(PATH=$work/bin:$PATH VEMORA_OS_RELEASE=${OS_RELEASE:-$work/os-release} "$script" "$@" 2>&1)
  status=$?
  calls=$(cat "$FAKE_APT/calls")
}
expect_calls() { # name, expected calls (one a line)
  [ "$calls" = "$2" ] || fail "$1: apt-get was called
$calls
instead of
$2"
}
expect_installed() { # name, package...
  local package
  for package in "${@:2}"; do
    grep -qxF -- "$package" "$FAKE_APT/installed" 2>/dev/null || fail "$1: $package is not installed"
  done
}
plain="install -y -qq --no-install-recommends --no-remove"

# Nothing missing: apt is not even asked.
run all-there fail "" "wine wine32:i386" wine wine32:i386
[ $status -eq 0 ] || fail "all-there: exit $status: $out"
expect_calls all-there ""

# The archive mid-sync: the update fails, the plain install breaks, the
# release's own suite (trixie, read from os-release) installs both.
run mid-sync fail "trixie" "" wine wine32:i386
[ $status -eq 0 ] || fail "mid-sync: exit $status: $out"
expect_calls mid-sync "update -qq
$plain wine wine32:i386
$plain -t trixie wine wine32:i386"
expect_installed mid-sync wine wine32:i386
grep -q "Mirror sync in progress" <<<"$out" || fail "mid-sync: the failed update is not reported: $out"
grep -q "from trixie alone" <<<"$out" || fail "mid-sync: the second try is not reported: $out"

# Only the missing package is asked for.
run one-missing ok "(any)" "wine" wine wine32:i386
[ $status -eq 0 ] || fail "one-missing: exit $status: $out"
expect_calls one-missing "update -qq
$plain wine32:i386"

# A failed update with indexes that suffice: one install, no second try.
run update-fails-only fail "(any)" "" cmake
[ $status -eq 0 ] || fail "update-fails-only: exit $status: $out"
expect_calls update-fails-only "update -qq
$plain cmake"

# Neither try works: exit 1, naming the packages and both of apt's errors.
run nothing-works fail "" "" wine wine32:i386
[ $status -eq 1 ] || fail "nothing-works: exit $status, expected 1"
[ "$(wc -l <<<"$calls")" -eq 3 ] || fail "nothing-works: calls
$calls"
grep -q "could not install wine wine32:i386 (E: Error, pkgProblemResolver.*nor from trixie alone (E: Error" <<<"$out" \
  || fail "nothing-works: the reason does not say both tries: $out"

# A suite asked for by name is the only one tried.
run named-suite ok "" "" -t bookworm-backports qemu-user
[ $status -eq 1 ] || fail "named-suite: exit $status, expected 1"
expect_calls named-suite "update -qq
$plain -t bookworm-backports qemu-user"
grep -q "from bookworm-backports" <<<"$out" || fail "named-suite: $out"

# A release without a codename: no second try, and it says why.
OS_RELEASE=$work/os-release-without-codename run no-codename fail "" "" wine
[ $status -eq 1 ] || fail "no-codename: exit $status, expected 1"
[ "$(wc -l <<<"$calls")" -eq 2 ] || fail "no-codename: calls
$calls"
grep -q "no codename" <<<"$out" || fail "no-codename: $out"

# Not root: apt is not called, and the message says what is missing.
FAKE_UID=1000 run not-root ok "(any)" "" wine
[ $status -eq 1 ] || fail "not-root: exit $status, expected 1"
expect_calls not-root ""
grep -q "missing packages: wine (install them, or run as root)" <<<"$out" || fail "not-root: $out"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "apt-install.sh: all there, mid-sync, one missing, failed update only, nothing works, named suite," \
  "no codename, not root"
