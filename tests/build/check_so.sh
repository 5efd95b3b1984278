#!/usr/bin/env bash
# Checks the built Linux twin: a 32-bit x86 library whose only visible symbol
# is IMessageProc, needing nothing beyond the C library.
set -u
so=${1:?usage: check_so.sh vemora.so}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$so" ] || { echo "FAIL: $so not built"; exit 1; }
header=$(readelf -h "$so")
grep -qE 'Class:\s+ELF32' <<<"$header" || fail "not a 32-bit ELF"
grep -qE 'Machine:\s+Intel 80386' <<<"$header" || fail "not an x86 library"
exported=$(nm -D --defined-only "$so" | awk '{print $3}')
[ "$exported" = "IMessageProc" ] || fail "visible symbols are not exactly IMessageProc: $(echo $exported)"
needed=$(readelf -d "$so" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p')
for lib in $needed; do
  case "$lib" in
    libc.so.6|ld-linux.so.2|libm.so.6) ;;
    *) fail "needs $lib" ;;
  esac
done
if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "vemora.so: one visible symbol, only the C library needed"
