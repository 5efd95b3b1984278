#!/usr/bin/env bash
# Makes this machine ready to run the 32-bit Windows test programs under Wine:
# the Debian packages (wine, wine32:i386), a way to run 32-bit x86 code (the
# kernel itself, or qemu-i386 registered with binfmt_misc), and a Wine prefix
# for this checkout. Idempotent: on a machine that has all of it nothing is
# changed.
#
# Exit 0 when Wine is ready. Otherwise it prints one line saying why, and
# that VEMORA_NO_WINE=1 runs the other tests without Wine, and exits 1: the
# tests that need Wine then fail as not run. With VEMORA_NO_WINE set it does
# nothing and exits 77, the test harnesses' "skipped".
set -u
cd "$(dirname "$0")/.."

prefix=$(tools/wine-run.sh --prefix)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

cannot() {
  echo "Wine cannot be set up here: $*. VEMORA_NO_WINE=1 runs the other tests without it, on purpose."
  exit 1
}

if [ -n "${VEMORA_NO_WINE:-}" ]; then
  echo "VEMORA_NO_WINE is set: nothing runs under Wine"
  exit 77
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
is_root() { [ "$(id -u)" -eq 0 ]; }

# --- Packages ---------------------------------------------------------------
missing=()
for p in wine wine32:i386; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  is_root || cannot "${missing[*]} not installed and not root to install them"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || cannot "dpkg could not add the i386 architecture"
  fi
  tools/apt-install.sh "${missing[@]}" 2>"$log" || cannot "$(tail -n 1 "$log")"
fi
command -v wine >/dev/null || cannot "no wine command after installing wine"

# --- 32-bit x86 code ----------------------------------------------------------
# Debian registers no i386 entry with binfmt_misc on amd64, so where the kernel
# cannot run 32-bit programs, qemu-i386 is registered by hand. Flag F opens the
# interpreter now, so it also works inside other mount namespaces.
if ! tools/can-run-i386.sh; then
  qemu=/usr/bin/qemu-i386
  [ -x "$qemu" ] || cannot "32-bit programs do not run here and $qemu is missing"
  binfmt=/proc/sys/fs/binfmt_misc
  if [ -e "$binfmt/qemu-i386" ]; then
    echo 1 >"$binfmt/qemu-i386" 2>/dev/null
  else
    if [ ! -e "$binfmt/register" ]; then
      is_root || cannot "binfmt_misc is not mounted and not root to mount it"
      mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || cannot "binfmt_misc cannot be mounted here"
    fi
    tools/i386-binfmt-entry.sh "$qemu" >"$binfmt/register" 2>/dev/null \
      || cannot "qemu-i386 could not be registered with binfmt_misc"
  fi
  tools/can-run-i386.sh || cannot "32-bit programs still do not run after registering qemu-i386"
fi

# --- The prefix ---------------------------------------------------------------
if [ ! -f "$prefix/system.reg" ]; then
  # A prefix that wineboot left unfinished lacks system.reg and is made
  # again next time; nothing is deleted, the prefix may be the user's own.
  if ! { mkdir -p "$(dirname "$prefix")" && WINEARCH=win32 tools/wine-run.sh wineboot -i \
         && tools/wine-run.sh --server-wait; } >"$log" 2>&1 || [ ! -f "$prefix/system.reg" ]; then
    cannot "wineboot could not make the prefix $prefix ($(tail -n 1 "$log"))"
  fi
fi
exit 0
