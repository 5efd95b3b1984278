#!/usr/bin/env bash
# tools/fresh-debian.sh without building anything: the apt sources it writes
# for Debian 12 and 13 come from the stand-in machine's own archive and
# security archive (one-line and deb822 forms), with main alone; and it
# refuses in one line, leaving nothing behind and starting nothing, for an
# unknown release, when not root, and when the machine's sources have no
# Debian archive or security archive.
#   fresh_debian_test.sh tools/fresh-debian.sh
set -u
script=${1:?usage: fresh_debian_test.sh tools/fresh-debian.sh}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Should a refusal not happen, the namespaces must not start: a stand-in
# unshare (and mmdebstrap) only leaves a mark.
mkdir -p "$work/bin" "$work/tmp"
for tool in unshare mmdebstrap; do
  printf '#!/bin/sh\ntouch "%s/started"\nexit 1\n' "$work" >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
export PATH=$work/bin:$PATH VEMORA_FRESH_TMP=$work/tmp

# A machine root of the given release with the given files under etc/apt:
# NAME RELEASE [FILE CONTENT]...
machine() {
  local root=$work/$1
  mkdir -p "$root/etc/apt/sources.list.d"
  printf 'PRETTY_NAME="Debian"\nID=debian\nVERSION_CODENAME=%s\n' "$2" >"$root/etc/os-release"
  shift 2
  while [ $# -gt 0 ]; do printf '%s' "$2" >"$root/etc/apt/$1"; shift 2; done
  echo "$root"
}

sources() { # description, root, release, expected sources
  local out
  if ! out=$(VEMORA_APT_ROOT=$2 "$script" --sources "$3" 2>&1); then fail "$1: refused: $out"; return; fi
  [ "$out" = "$4" ] || fail "$1: got
$out"
}

root=$(machine one-line bookworm sources.list "deb-src file:/srv/src/debian bookworm main
deb [signed-by=/etc/apt/keyrings/mirror.gpg] file:/srv/mirror-a/debian bookworm main contrib non-free-firmware
deb file:/srv/mirror-a/debian bookworm-updates main
" sources.list.d/security.list "deb file:/srv/mirror-a/debian-security bookworm-security main non-free
")
sources "one-line, Debian 13" "$root" 13 "Types: deb
URIs: file:/srv/mirror-a/debian
Suites: trixie trixie-updates
Components: main
Signed-By: /etc/apt/keyrings/mirror.gpg

Types: deb
URIs: file:/srv/mirror-a/debian-security
Suites: trixie-security
Components: main"
sources "one-line, Debian 12" "$root" 12 "Types: deb
URIs: file:/srv/mirror-a/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /etc/apt/keyrings/mirror.gpg

Types: deb
URIs: file:/srv/mirror-a/debian-security
Suites: bookworm-security
Components: main"

root=$(machine deb822 trixie sources.list.d/debian.sources "Types: deb
URIs: file:/srv/mirror-b/debian
Suites: trixie trixie-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: file:/srv/mirror-b/debian-security
Suites: trixie-security
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL
 -----END PGP PUBLIC KEY BLOCK-----
")
sources "deb822 on Debian 13, Debian 12" "$root" 12 "Types: deb
URIs: file:/srv/mirror-b/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: file:/srv/mirror-b/debian-security
Suites: bookworm-security
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL
 -----END PGP PUBLIC KEY BLOCK-----"
grep -q "^Suites: trixie trixie-updates$" <<<"$(VEMORA_APT_ROOT=$root "$script" --sources 2>&1)" \
  || fail "the default release is not Debian 13"

refuses() { # description, what the one line must say, uid, then the arguments
  local description=$1 says=$2 uid=$3 out
  shift 3
  if out=$(VEMORA_FRESH_UID=$uid "$script" "$@" 2>&1 >/dev/null); then
    fail "$description: did not refuse"
  else
    [ "$(wc -l <<<"$out")" -eq 1 ] && grep -q "^fresh-debian.sh: .*$says" <<<"$out" \
      || fail "$description: not one line saying '$says': $out"
  fi
}

refuses "unknown release" "unknown Debian release '99'" 0 99
refuses "not root" "needs root" 1000 12
VEMORA_APT_ROOT=$(machine other-only bookworm sources.list.d/node.sources "Types: deb
URIs: file:/srv/node
Suites: nodistro
Components: main
") refuses "no Debian archive" "no Debian archive for bookworm" 0 13
VEMORA_APT_ROOT=$(machine no-security bookworm sources.list "deb file:/srv/mirror-c/debian bookworm main
") refuses "no security archive" "no Debian security archive" 0 13
root=$(machine not-debian noble sources.list "deb file:/srv/mirror-d/ubuntu noble main
deb file:/srv/mirror-d/ubuntu noble-security main
")
sed -i 's/^ID=debian/ID=ubuntu/' "$root/etc/os-release"
VEMORA_APT_ROOT=$root refuses "not Debian" "not Debian" 0 13

[ -z "$(ls -A "$work/tmp")" ] || fail "a refusal left behind: $(ls -A "$work/tmp")"
[ ! -e "$work/started" ] || fail "a refusal started the namespaces"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "fresh-debian.sh: the sources of Debian 12 and 13 from the machine's own archives, in both formats; refused in one line, leaving nothing"
