#!/usr/bin/env bash
# Checks the built Vemora.dll as Windows and the host will see it: a 32-bit
# library, one export "_IMessageProc@4" at ordinal 1 under the library name
# "Vemora.dll", imports only from DLLs every Windows has, and the Polish
# version block.
set -u
dll=${1:?usage: check_dll.sh Vemora.dll}
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

# Imports: nothing from the compiler's runtime DLLs.
imports=$(grep -E '^\s*DLL Name:' <<<"$private" | awk '{print $3}' | tr 'A-Z' 'a-z' | sort -u)
for dll_name in $imports; do
  case "$dll_name" in
    kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll) ;;
    *) fail "imports $dll_name, which a plain Windows does not have" ;;
  esac
done

# The version block, decompiled; the Polish letters come back as UTF-16 escapes.
rc=$("$windres" -i "$dll" -O rc 2>&1)
description='L"Wtyczka sprawdza kto obchodzi urodziny i umo\x017cliwia szybkie wysy\x0142anie \x017cycze\x0144 urodzinowych"'
expect "version language" "$rc" "LANGUAGE 21, 1"
expect "file version" "$rc" "FILEVERSION 0, 1, 0, 2"
expect "product version" "$rc" "PRODUCTVERSION 0, 1, 0, 2"
expect "string table" "$rc" 'BLOCK "041504B0"'
expect "translation" "$rc" 'VALUE "Translation", 0x415, 1200'
expect "FileDescription" "$rc" "VALUE \"FileDescription\", $description"
expect "Comments" "$rc" "VALUE \"Comments\", $description"
expect "FileVersion text" "$rc" 'VALUE "FileVersion", "0, 1, 0, 2"'
expect "ProductVersion text" "$rc" 'VALUE "ProductVersion", "0, 1, 0, 2"'
expect "InternalName" "$rc" 'VALUE "InternalName", "Vemora"'
expect "OriginalFilename" "$rc" 'VALUE "OriginalFilename", "Vemora.dll"'
expect "LegalCopyright" "$rc" 'VALUE "LegalCopyright", "Copyright'
expect "library file type" "$rc" "FILETYPE 0x2"
for empty in CompanyName ProductName LegalTrademarks PrivateBuild SpecialBuild; do
  expect "$empty" "$rc" "VALUE \"$empty\", \"\""
done

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "Vemora.dll: one export, plain imports, version block as expected"
