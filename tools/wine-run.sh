#!/usr/bin/env bash
# Runs a 32-bit Windows program under Wine with this checkout's own prefix,
# quietly: CTest's emulator for the Windows test programs.
#
#   wine-run.sh PROGRAM [ARGS...]  run it (a Windows .exe, or a Wine tool such as wineboot)
#   wine-run.sh --prefix           print the prefix directory
#   wine-run.sh --server-start     keep one wineserver up (a warm start is well under a second, a cold one seconds)
#   wine-run.sh --server-stop      stop it and every Wine process of the prefix
#   wine-run.sh --server-wait      wait until the wineserver has gone
#
# The prefix is $VEMORA_WINE_PREFIX, by default build/wine-prefix of this
# checkout: one per checkout, so that checkouts tested side by side never stop
# each other's wineserver.
#
# With VEMORA_NO_WINE set it runs nothing: it says so and exits 77, which
# the tests read as "skipped".
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${VEMORA_WINE_PREFIX:-$here/build/wine-prefix}
export WINEDEBUG=-all
# No .NET and no HTML engine: nothing here needs them, and they would ask to be downloaded.
export WINEDLLOVERRIDES='mscoree,mshtml='
unset DISPLAY WAYLAND_DISPLAY
# Wine 10 (Debian 13) aborts at start, its wineserver too, whenever TMPDIR is
# set ("free(): invalid pointer"); a Windows program takes its temporary
# folder from the prefix anyway.
unset TMPDIR

# If a run is killed before --server-stop, the server still ends by itself
# after this many idle seconds.
SERVER_IDLE_LIMIT=600

if [ -n "${VEMORA_NO_WINE:-}" ] && [ "${1:-}" != --prefix ]; then
  echo "VEMORA_NO_WINE is set: nothing runs under Wine"
  exit 77
fi

case "${1:-}" in
  --prefix) echo "$WINEPREFIX" ;;
  --server-start)
    # Detached from any output too: a test starts it, and CTest waits for
    # the test's pipes to close.
    wineserver -p"$SERVER_IDLE_LIMIT" </dev/null >/dev/null 2>&1 || exit 1
    # Start Wine's background services now, detached from any output: started
    # by a test program they would inherit its pipes, and CTest would wait
    # for those pipes to close until the services end.
    exec wine wineboot </dev/null >/dev/null 2>&1 ;;
  --server-stop) wineserver -k 2>/dev/null; exit 0 ;;
  --server-wait) exec wineserver -w ;;
  "") echo "usage: $0 PROGRAM [ARGS...]" >&2; exit 2 ;;
  *) exec wine "$@" ;;
esac
