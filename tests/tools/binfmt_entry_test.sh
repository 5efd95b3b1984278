#!/usr/bin/env bash
# Checks the entry of tools/i386-binfmt-entry.sh the way binfmt_misc applies
# it: a file is claimed when its first bytes equal the magic in every bit the
# mask sets. The given 32-bit x86 files must be claimed; 64-bit x86 and
# 32-bit ARM headers, and scripts, must not.
#   binfmt_entry_test.sh ENTRY_SCRIPT I386_FILE...
set -u
entry_script=${1:?usage: binfmt_entry_test.sh ENTRY_SCRIPT I386_FILE...}
shift
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

entry=$("$entry_script" /usr/bin/qemu-i386)
IFS=: read -r _ name type offset magic mask interpreter flags <<<"$entry"
[ "$name" = qemu-i386 ] || fail "name '$name'"
[ "$type" = M ] || fail "type '$type', expected M (magic)"
[ -z "$offset" ] || fail "offset '$offset', expected none"
[ "$interpreter" = /usr/bin/qemu-i386 ] || fail "interpreter '$interpreter'"
[ "$flags" = F ] || fail "flags '$flags', expected F"

# "\x7fELF\x01..." (as binfmt_misc reads it) to a list of byte values.
bytes_of() { printf '%b' "$1" | od -An -v -tu1; }
magic_bytes=($(bytes_of "$magic"))
mask_bytes=($(bytes_of "$mask"))
[ ${#magic_bytes[@]} -eq ${#mask_bytes[@]} ] || fail "magic and mask differ in length"

claimed() { # file
  local head i
  head=($(od -An -v -tu1 -N ${#magic_bytes[@]} "$1"))
  [ ${#head[@]} -eq ${#magic_bytes[@]} ] || return 1
  for i in "${!magic_bytes[@]}"; do
    (( (head[i] ^ magic_bytes[i]) & mask_bytes[i] )) && return 1
  done
  return 0
}

for file in "$@"; do
  claimed "$file" || fail "$file is a 32-bit x86 file but is not claimed"
done

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
header() { # class, e_type, e_machine
  printf "\\x7fELF\\x$1\\x01\\x01\\x03\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x$2\\x00\\x$3\\x00" >"$dir/file"
  echo "$dir/file"
}
claimed "$(header 01 02 03)" || fail "a 32-bit x86 executable with a GNU/Linux OS ABI byte is not claimed"
claimed "$(header 02 02 3e)" && fail "a 64-bit x86 executable is claimed"
claimed "$(header 02 03 03)" && fail "a 64-bit header is claimed"
claimed "$(header 01 02 28)" && fail "a 32-bit ARM executable is claimed"
claimed "$(header 01 01 03)" && fail "a 32-bit x86 relocatable object is claimed"
printf '#!/bin/sh\necho hi\n' >"$dir/file"
claimed "$dir/file" && fail "a shell script is claimed"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "binfmt entry: claims the $# 32-bit x86 files, and no other kind"
