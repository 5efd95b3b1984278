#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 Linux programs by itself (no emulator).
# Asks the kernel the only reliable way: by running one.
set -u
case "$(uname -m)" in
  i?86) exit 0 ;;
  x86_64) ;;
  *) exit 1 ;;
esac
command -v gcc >/dev/null || exit 1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'int main(void){return 42;}\n' > "$dir/probe.c"
gcc -m32 -o "$dir/probe" "$dir/probe.c" 2>/dev/null || exit 1
"$dir/probe" 2>/dev/null
[ $? -eq 42 ]
