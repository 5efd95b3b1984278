#!/usr/bin/env bash
# tools/backports-source.sh on apt configurations of its own: the backports
# source takes the address, components and key of the machine's own entry for
# the release, from either format, and of no other entry (security, updates,
# deb-src, a disabled stanza, another release); without such an entry it
# refuses.
#   backports_source_test.sh tools/backports-source.sh
set -u
script=${1:?usage: backports_source_test.sh tools/backports-source.sh}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A machine root with the given files under etc/apt: NAME CONTENT pairs.
machine() {
  local root=$work/$1
  shift
  mkdir -p "$root/etc/apt/sources.list.d"
  while [ $# -gt 0 ]; do printf '%s' "$2" >"$root/etc/apt/$1"; shift 2; done
  echo "$root"
}

expect() { # description, root, expected stanza without its comment line
  local out
  if ! out=$("$script" bookworm "$2" 2>&1); then fail "$1: refused: $out"; return; fi
  [ "$(sed 1d <<<"$out")" = "$3" ] || fail "$1: got
$out"
  grep -q "^# bookworm-backports, from the archive of $2/etc/apt/" <<<"$out" || fail "$1: no line naming its source"
}

root=$(machine deb822 sources.list.d/debian.sources "Types: deb deb-src
# a comment inside the stanza
URIs: file:/srv/mirror-a/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: file:/srv/mirror-a/debian-security
Suites: bookworm-security
Components: main
")
expect "deb822" "$root" "Types: deb
URIs: file:/srv/mirror-a/debian
Suites: bookworm-backports
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"

root=$(machine deb822-later sources.list.d/a.sources "Types: deb
URIs: file:/srv/off/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb-src
URIs: file:/srv/sources-only/debian
Suites: bookworm
Components: main

Types: deb
URIs: file:/srv/updates-only/debian
Suites: bookworm-updates
Components: main

Types: deb
URIs: file:/srv/mirror-b/debian file:/srv/mirror-c/debian
Suites: bookworm
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL
 -----END PGP PUBLIC KEY BLOCK-----")
expect "deb822, the first enabled deb stanza of the release, an inline key" "$root" "Types: deb
URIs: file:/srv/mirror-b/debian file:/srv/mirror-c/debian
Suites: bookworm-backports
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL
 -----END PGP PUBLIC KEY BLOCK-----"

root=$(machine one-line sources.list "# deb file:/srv/commented/debian bookworm main
deb-src file:/srv/sources-only/debian bookworm main
deb file:/srv/security/debian-security bookworm-security main
deb [arch=amd64 signed-by=/etc/apt/keyrings/mirror.gpg] file:/srv/mirror-d/debian bookworm main non-free-firmware # ours
deb file:/srv/later/debian bookworm main
")
expect "sources.list" "$root" "Types: deb
URIs: file:/srv/mirror-d/debian
Suites: bookworm-backports
Components: main non-free-firmware
Signed-By: /etc/apt/keyrings/mirror.gpg"

root=$(machine list-file sources.list "" sources.list.d/mirror.list "deb file:/srv/mirror-e/debian bookworm main
")
expect "a .list file, no key" "$root" "Types: deb
URIs: file:/srv/mirror-e/debian
Suites: bookworm-backports
Components: main"

root=$(machine none sources.list "deb file:/srv/mirror-f/debian trixie main
" sources.list.d/x.sources "Types: deb
URIs: file:/srv/mirror-f/debian
Suites: bookworm-updates
Components: main
")
if out=$("$script" bookworm "$root" 2>&1); then
  fail "no entry for bookworm, yet it printed: $out"
else
  grep -q "no apt source for bookworm" <<<"$out" || fail "refusal does not say why: $out"
fi

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "backports-source.sh: the machine's own entry for the release, in both formats; refused without one"
