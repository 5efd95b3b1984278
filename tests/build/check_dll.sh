#!/usr/bin/env bash
# Checks the built Vemora.dll as Windows and the host will see it: a 32-bit
# library, one export "_IMessageProc@4" at ordinal 1 under the library name
# "Vemora.dll", exactly the imports of dll_imports.txt, an entry point that
# only answers TRUE, stripped within its size budget with its debug
# information beside it, and the Polish version block.
#
#   check_dll.sh Vemora.dll VERSION [BUDGET_BYTES]
set -u
dll=${1:?usage: check_dll.sh Vemora.dll VERSION [BUDGET_BYTES]}
version=${2:?usage: check_dll.sh Vemora.dll VERSION [BUDGET_BYTES]}
version_words=${version//./, }  # as the version block writes it: a.b.c.d becomes a, b, c, d
budget=${3:-65536}
here=$(dirname "$0")
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
windres=${WINDRES:-i686-w64-mingw32-windres}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # description, haystack, fixed string
  grep -qF -- "$3" <<<"$2" || fail "$1: missing '$3'"
}

[ -f "$dll" ] || { echo "FAIL: $dll not built"; exit 1; }
headers=$("$objdump" -f "$dll")
private=$("$objdump" -p "$dll")
expect "file format" "$headers" "file format pei-i386"
expect "PE32 (32-bit) optional header" "$private" "PE32)"
grep -qE '^Characteristics 0x[0-9a-f]*' <<<"$private" || fail "no characteristics"
characteristics=$(sed -n 's/^Characteristics 0x\([0-9a-f]*\).*/\1/p' <<<"$private")
(( (16#$characteristics & 0x2000) != 0 )) || fail "not marked as a DLL (characteristics 0x$characteristics)"
(( (16#$characteristics & 0x0100) != 0 )) || fail "not marked as a 32-bit machine (characteristics 0x$characteristics)"

# The export directory: the library's name, one name, ordinal 1.
expect "export directory name" "$private" "Vemora.dll"
grep -qE '^Ordinal Base[[:space:]]+1$' <<<"$private" || fail "ordinal base is not 1"
names=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$private" | grep -E '^\s+\[' )
[ "$(wc -l <<<"$names")" -eq 1 ] || fail "expected exactly one exported name, got: $names"
grep -qE '^\s*\[\s*0\] _IMessageProc@4$' <<<"$names" || fail "the one export is not _IMessageProc@4: $names"
entries=$(sed -n '/^Export Address Table/,/^$/p' <<<"$private" | grep -cE '^\s*\[')
[ "$entries" -eq 1 ] || fail "expected one export address entry, got $entries"

# Imports: exactly the functions allowed, nothing from a compiler's runtime.
imported=$(awk '/^[[:space:]]*DLL Name:/ {dll = $3; next} /^[[:space:]]*$/ {dll = ""} dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 {print dll, $3}' <<<"$private" | sort)
allowed=$(grep -v '^#' "$here/dll_imports.txt" | grep -v '^$' | sort)
[ -n "$imported" ] || fail "no imports found"
[ "$imported" = "$allowed" ] || fail "imports differ from dll_imports.txt:
$(diff <(echo "$allowed") <(echo "$imported") | grep '^[<>]' | sed 's/^</  no longer imported:/; s/^>/  newly imported:/')"

# The entry point is DllMain, which answers TRUE and does nothing: no C
# runtime start-up runs when the host loads the library.
entry=$(sed -n 's/^AddressOfEntryPoint[[:space:]]*\([0-9a-f]*\)$/\1/p' <<<"$private")
base=$(sed -n 's/^ImageBase[[:space:]]*\([0-9a-f]*\)$/\1/p' <<<"$private")
start=$((16#$base + 16#$entry))
code=$("$objdump" -d --start-address=$start --stop-address=$((start + 8)) "$dll" | grep -E '^\s*[0-9a-f]+:' | cut -f3-)
[ "$(echo $code)" = 'mov $0x1,%eax ret $0xc' ] || fail "the entry point does more than answer TRUE: $(echo $code)"
grep -qE 'Entry 9 00000000 00000000 Thread Storage' <<<"$private" || fail "the library has thread-local storage callbacks"

# Stripped, within budget, its debug information beside it.
size=$(stat -c %s "$dll")
echo "Vemora.dll: $size bytes (budget $budget)"
[ "$size" -le "$budget" ] || fail "Vemora.dll is $size bytes, over its budget of $budget"
sections=$("$objdump" -h "$dll")
! grep -qE '\.debug_' <<<"$sections" || fail "Vemora.dll still holds debug sections"
link=$("$objdump" -s -j .gnu_debuglink "$dll" 2>/dev/null | grep -E '^ [0-9a-f]+ ')
grep -qF 'Vemora.dll.debu' <<<"$link" || fail "no debug link to Vemora.dll.debug"
[ -f "$dll.debug" ] || fail "$dll.debug is missing"
[ -f "$dll.debug" ] && { "$objdump" -h "$dll.debug" | grep -qF '.debug_info' || fail "$dll.debug holds no debug information"; }

# The version block, decompiled; the Polish letters come back as UTF-16 escapes.
rc=$("$windres" -i "$dll" -O rc 2>&1)
description='L"Wtyczka sprawdza kto obchodzi urodziny i umo\x017cliwia szybkie wysy\x0142anie \x017cycze\x0144 urodzinowych"'
expect "version language" "$rc" "LANGUAGE 21, 1"
expect "file version" "$rc" "FILEVERSION $version_words"
expect "product version" "$rc" "PRODUCTVERSION $version_words"
expect "string table" "$rc" 'BLOCK "041504B0"'
expect "translation" "$rc" 'VALUE "Translation", 0x415, 1200'
expect "FileDescription" "$rc" "VALUE \"FileDescription\", $description"
expect "Comments" "$rc" "VALUE \"Comments\", $description"
expect "FileVersion text" "$rc" "VALUE \"FileVersion\", \"$version_words\""
expect "ProductVersion text" "$rc" "VALUE \"ProductVersion\", \"$version_words\""
expect "InternalName" "$rc" 'VALUE "InternalName", "Vemora"'
expect "OriginalFilename" "$rc" 'VALUE "OriginalFilename", "Vemora.dll"'
# The copyright line is the licence's own, word for word.
copyright=$(grep -m1 '^Copyright ' "$here/../../LICENSE")
[ -n "$copyright" ] || fail "LICENSE has no Copyright line"
expect "LegalCopyright as in LICENSE" "$rc" "VALUE \"LegalCopyright\", \"$copyright\""
expect "library file type" "$rc" "FILETYPE 0x2"
for empty in CompanyName ProductName LegalTrademarks PrivateBuild SpecialBuild; do
  expect "$empty" "$rc" "VALUE \"$empty\", \"\""
done

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "Vemora.dll: one export, the allowed imports, an empty entry point, stripped within budget, version block as expected"
