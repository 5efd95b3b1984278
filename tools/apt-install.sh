#!/usr/bin/env bash
# Installs those of the given Debian packages that are not installed yet,
# through apt-get, and gets through an archive caught in the middle of a sync.
# Nothing is fetched when all of them are there.
#
#   apt-install.sh [-t SUITE] PACKAGE...
#
# Needs root only when something is missing. The package lists are updated
# first, but an update that fails is not the end: a mirror mid-sync serves
# one index of the wrong size, and the indexes the install needs may all be
# there. The install never removes a package (--no-remove: 32-bit libraries
# must not push out the compilers). Without -t, an install that fails is
# tried once more from the release's own suite (VERSION_CODENAME of
# /etc/os-release): when the security suite's index of one architecture could
# not be read, apt cannot match that architecture's libraries to the versions
# installed for the other, and the release's own suite has matching versions
# of them all. apt never downgrades for it: a target suite only gets priority
# 990.
#
# Exit 0 when every package is installed, else 1 with one line on standard
# error saying why. VEMORA_OS_RELEASE names another os-release file.
set -u

target=
if [ "${1:-}" = -t ]; then
  target=${2:?usage: apt-install.sh [-t SUITE] PACKAGE...}
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: apt-install.sh [-t SUITE] PACKAGE..." >&2; exit 2; }

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for package in "$@"; do installed "$package" || missing+=("$package"); done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (install them, or run as root)" >&2
  exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# apt's own error, for the one line that says why: the first of an update
# (which failed to fetch what), the last of an install (what it gave up on).
first_error() { grep -m 1 '^E: ' "$log" || tail -n 1 "$log"; }
last_error() { grep '^E: ' "$log" | tail -n 1 | grep . || tail -n 1 "$log"; }

export DEBIAN_FRONTEND=noninteractive
if ! apt-get update -qq >"$log" 2>&1; then
  echo "apt-install.sh: apt-get update failed, going on with the indexes there are ($(first_error))"
fi

# install [-t SUITE]: the missing packages, output in the log.
install() {
  apt-get install -y -qq --no-install-recommends --no-remove "$@" "${missing[@]}" >"$log" 2>&1
}

if [ -n "$target" ]; then
  install -t "$target" && exit 0
  echo "apt-get could not install ${missing[*]} from $target ($(last_error))" >&2
  exit 1
fi

install && exit 0
first_error=$(last_error)
codename=$(sed -n 's/^VERSION_CODENAME=//p' "${VEMORA_OS_RELEASE:-/etc/os-release}" | tr -d '"')
if [ -z "$codename" ]; then
  echo "apt-get could not install ${missing[*]} ($first_error), and the release has no codename to try its own suite" >&2
  exit 1
fi
if install -t "$codename"; then
  echo "apt-install.sh: installed ${missing[*]} from $codename alone (the first try: $first_error)"
  exit 0
fi
echo "apt-get could not install ${missing[*]} ($first_error), nor from $codename alone ($(last_error))" >&2
exit 1
