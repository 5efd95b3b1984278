#!/usr/bin/env bash
# The weight of the shipped Vemora.dll, section by section (bytes in memory;
# in the file each is rounded up to 512).
#
#   dll_sections.sh Vemora.dll
set -eu
dll=${1:?usage: dll_sections.sh Vemora.dll}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
printf '%-16s %8s\n' section bytes
while read -r index name size _; do
  if [[ $index =~ ^[0-9]+$ ]]; then printf '%-16s %8d\n' "$name" "$((16#$size))"; fi
done < <("$objdump" -h "$dll")
printf '%-16s %8d\n' "(whole file)" "$(stat -c %s "$dll")"
