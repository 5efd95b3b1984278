#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: on a
# machine that has everything nothing is fetched. Needs root only when
# something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

install() {
  local missing=()
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (install them, or run as root)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if [ -z "${apt_updated:-}" ]; then apt-get update -qq; apt_updated=1; fi
  apt-get install -y -qq --no-install-recommends "${extra_apt_args[@]}" "${missing[@]}"
}

extra_apt_args=()
install cmake make g++ g++-multilib g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest python3
# make release dates an archive by the last commit when SOURCE_DATE_EPOCH is unset.
install git
# The coverage of src/ that make test measures: gcovr reads gcc's counts.
install gcovr
# The fuzz target: clang with its 32-bit libFuzzer and sanitizer runtimes.
install clang-14 libclang-rt-14-dev

# 32-bit programs run natively where the kernel can; elsewhere through
# qemu-i386, which has to be version 8 or later (bookworm's 7.2 cannot run
# Wine), so on bookworm it comes from bookworm-backports.
if ! tools/can-run-i386.sh; then
  if ! command -v qemu-i386 >/dev/null || ! qemu-i386 --version | grep -qE 'version ([1-9][0-9]|[89])\.'; then
    if grep -qs 'VERSION_CODENAME=bookworm' /etc/os-release \
       && ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      # From the archive the machine already takes bookworm from: this
      # script names no address of its own.
      added=/etc/apt/sources.list.d/bookworm-backports.sources
      source=$(tools/backports-source.sh bookworm) \
        || { echo "install-deps.sh: cannot enable bookworm-backports for qemu-user (8 or later)" >&2; exit 1; }
      printf '%s\n' "$source" > "$added"
      echo "install-deps.sh: added bookworm-backports ($(sed -n 's/^URIs: //p' <<<"$source")) in $added"
      apt_updated=
    fi
    grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/ && extra_apt_args=(-t bookworm-backports)
    apt-get remove -y -qq qemu-user >/dev/null 2>&1 || true
    install qemu-user
    extra_apt_args=()
  fi
fi
