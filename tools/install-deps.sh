#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need
# (tools/apt-install.sh: nothing is fetched when all are there; root only
# when something is missing). Wine is set up by the Windows tests' fixture
# (tools/setup-wine.sh), which is the only thing that needs it.
set -euo pipefail
cd "$(dirname "$0")/.."

# The compilers (32-bit Linux gcc, and clang with its 32-bit libFuzzer and
# sanitizer runtimes for the fuzz target; mingw-w64 for the DLL), CMake with
# Ninja, GoogleTest's sources, Python for the build's scripts, with pefile
# and pyelftools, through which the tests read the built DLL and .so; git
# names a snapshot by its commit, and gcovr and gcov read the coverage counts
# of src/. clang and its runtime by Debian's unversioned names (14 on Debian
# 12, 19 on 13).
tools/apt-install.sh cmake ninja-build make g++ g++-multilib g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  googletest python3 python3-pefile python3-pyelftools git gcovr clang libclang-rt-dev

# 32-bit programs run natively where the kernel can; elsewhere through
# qemu-i386, which has to be version 8 or later (bookworm's 7.2 cannot run
# Wine), so on bookworm it comes from bookworm-backports.
if ! tools/can-run-i386.sh; then
  if ! command -v qemu-i386 >/dev/null || ! qemu-i386 --version | grep -qE 'version ([1-9][0-9]|[89])\.'; then
    target=()
    if grep -qs 'VERSION_CODENAME=bookworm' /etc/os-release; then
      if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        # From the archive the machine already takes bookworm from: this
        # script names no address of its own.
        added=/etc/apt/sources.list.d/bookworm-backports.sources
        source=$(tools/backports-source.sh bookworm) \
          || { echo "install-deps.sh: cannot enable bookworm-backports for qemu-user (8 or later)" >&2; exit 1; }
        printf '%s\n' "$source" > "$added"
        echo "install-deps.sh: added bookworm-backports ($(sed -n 's/^URIs: //p' <<<"$source")) in $added"
      fi
      target=(-t bookworm-backports)
    fi
    apt-get remove -y -qq qemu-user >/dev/null 2>&1 || true
    tools/apt-install.sh "${target[@]}" qemu-user
  fi
fi
