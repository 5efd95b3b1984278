#!/usr/bin/env python3
"""Checks the built Vemora.dll as Windows and the host will see it, reading
the file's own structures (pefile): a 32-bit library hardened as binary
scanners expect of an x86 image (ASLR, DEP, no SEH, no section both writable
and executable), one export "_IMessageProc@4" at ordinal 1 under the library
name "Vemora.dll", exactly the imports of dll_imports.txt, an entry point
that only answers TRUE, stripped within its size budget with its debug
information beside it, and the Polish version block.

    check_dll.py Vemora.dll VERSION [BUDGET_BYTES]

Each failed check prints a line "FAIL: <check>: ..."; the exit status is 1
when any failed.
"""

import os
import sys
import zlib

try:
    import pefile
except ImportError:
    print("FAIL: setup: %s has no pefile (Debian: python3-pefile)" % sys.executable)
    sys.exit(1)

HERE = os.path.dirname(os.path.abspath(__file__))
IMPORTS_FILE = os.path.join(HERE, "dll_imports.txt")
LICENSE_FILE = os.path.join(HERE, "..", "..", "LICENSE")

EXPORT = b"_IMessageProc@4"
LIBRARY_NAME = b"Vemora.dll"
# DllMain: mov eax, 1; ret 12. No C runtime start-up runs when the host loads
# the library.
ENTRY_CODE = bytes.fromhex("B801000000C20C00")
POLISH, UNICODE = 0x415, 1200
DESCRIPTION = ("Wtyczka sprawdza kto obchodzi urodziny i umożliwia szybkie "
               "wysyłanie życzeń urodzinowych")
RT_VERSION = 16
FILETYPE_DLL = 2

flags = pefile.DLL_CHARACTERISTICS
DYNAMIC_BASE = flags["IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE"]
NX_COMPAT = flags["IMAGE_DLLCHARACTERISTICS_NX_COMPAT"]
NO_SEH = flags["IMAGE_DLLCHARACTERISTICS_NO_SEH"]
characteristics = pefile.IMAGE_CHARACTERISTICS
IS_DLL = characteristics["IMAGE_FILE_DLL"]
MACHINE_32BIT = characteristics["IMAGE_FILE_32BIT_MACHINE"]
RELOCS_STRIPPED = characteristics["IMAGE_FILE_RELOCS_STRIPPED"]
MEM_WRITE = pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_WRITE"]
MEM_EXECUTE = pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_EXECUTE"]
BASERELOC = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]
TLS = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_TLS"]


class Checks:
    def __init__(self):
        self.failures = 0

    def expect(self, condition, check, message):
        if not condition:
            print("FAIL: %s: %s" % (check, message))
            self.failures += 1
        return condition


def section_name(pe, section):
    """A section's name, a long one ("/4") looked up in the COFF string table,
    where the GNU tools keep names longer than eight bytes."""
    name = section.Name.rstrip(b"\0")
    if not name.startswith(b"/") or not name[1:].isdigit():
        return name.decode("latin-1")
    header = pe.FILE_HEADER
    table = header.PointerToSymbolTable + 18 * header.NumberOfSymbols
    start = table + int(name[1:])
    return pe.__data__[start:pe.__data__.find(b"\0", start)].decode("latin-1")


def sections_by_name(pe):
    return {section_name(pe, section): section for section in pe.sections}


def check_header(checks, pe):
    checks.expect(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], "machine",
                  "machine 0x%x, not i386" % pe.FILE_HEADER.Machine)
    checks.expect(pe.OPTIONAL_HEADER.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE, "PE32",
                  "optional header magic 0x%x, not PE32 (32-bit)" % pe.OPTIONAL_HEADER.Magic)
    bits = pe.FILE_HEADER.Characteristics
    checks.expect(bits & IS_DLL, "DLL", "not marked as a DLL (characteristics 0x%x)" % bits)
    checks.expect(bits & MACHINE_32BIT, "32-bit machine",
                  "not marked as a 32-bit machine (characteristics 0x%x)" % bits)


def check_hardening(checks, pe):
    dll_bits = pe.OPTIONAL_HEADER.DllCharacteristics
    checks.expect(dll_bits & DYNAMIC_BASE, "ASLR", "DYNAMIC_BASE is not set (0x%x)" % dll_bits)
    checks.expect(not pe.FILE_HEADER.Characteristics & RELOCS_STRIPPED, "ASLR", "relocations stripped")
    relocations = pe.OPTIONAL_HEADER.DATA_DIRECTORY[BASERELOC]
    checks.expect(relocations.VirtualAddress and relocations.Size
                  and getattr(pe, "DIRECTORY_ENTRY_BASERELOC", None), "ASLR",
                  "no base relocations to move the image by")
    checks.expect(dll_bits & NX_COMPAT, "DEP", "NX_COMPAT is not set (0x%x)" % dll_bits)
    checks.expect(dll_bits & NO_SEH, "no SEH", "NO_SEH is not set (0x%x)" % dll_bits)
    both = MEM_WRITE | MEM_EXECUTE
    for section in pe.sections:
        checks.expect(section.Characteristics & both != both, "W+X",
                      "section %s is both writable and executable" % section_name(pe, section))


def check_export(checks, pe):
    exports = getattr(pe, "DIRECTORY_ENTRY_EXPORT", None)
    if not checks.expect(exports, "export", "no export directory"):
        return
    checks.expect(exports.name == LIBRARY_NAME, "export", "library name %r, not %r" % (exports.name, LIBRARY_NAME))
    checks.expect(exports.struct.Base == 1, "export", "ordinal base %d, not 1" % exports.struct.Base)
    checks.expect(exports.struct.NumberOfFunctions == 1, "export",
                  "%d export address entries, not one" % exports.struct.NumberOfFunctions)
    symbols = [(symbol.ordinal, symbol.name) for symbol in exports.symbols]
    checks.expect(symbols == [(1, EXPORT)], "export",
                  "exports %r, not exactly %r at ordinal 1" % (symbols, EXPORT))
    for symbol in exports.symbols:
        section = pe.get_section_by_rva(symbol.address)
        checks.expect(not symbol.forwarder and section and section.Characteristics & MEM_EXECUTE, "export",
                      "%r does not lead to code" % symbol.name)


def check_imports(checks, pe):
    with open(IMPORTS_FILE, encoding="utf-8") as listed:
        allowed = {line.strip() for line in listed if line.strip() and not line.startswith("#")}
    imported = set()
    for library in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        for function in library.imports:
            name = function.name.decode("latin-1") if function.name else "#%d" % function.ordinal
            imported.add("%s %s" % (library.dll.decode("latin-1"), name))
    checks.expect(imported, "imports", "no imports found")
    for line in sorted(allowed - imported):
        checks.expect(False, "imports", "no longer imported: %s (dll_imports.txt)" % line)
    for line in sorted(imported - allowed):
        checks.expect(False, "imports", "newly imported: %s (not in dll_imports.txt)" % line)


def check_entry(checks, pe):
    code = pe.get_data(pe.OPTIONAL_HEADER.AddressOfEntryPoint, len(ENTRY_CODE))
    checks.expect(code == ENTRY_CODE, "entry point",
                  "does more than answer TRUE: %s, not %s" % (code.hex(" "), ENTRY_CODE.hex(" ")))
    tls = pe.OPTIONAL_HEADER.DATA_DIRECTORY[TLS]
    checks.expect(not tls.VirtualAddress and not tls.Size, "TLS",
                  "the library has thread-local storage (callbacks would run at load)")


def check_stripped(checks, pe, path, budget):
    size = os.path.getsize(path)
    print("Vemora.dll: %d bytes (budget %d)" % (size, budget))
    checks.expect(size <= budget, "size", "%d bytes, over the budget of %d" % (size, budget))
    sections = sections_by_name(pe)
    debug = sorted(name for name in sections if name.startswith(".debug_"))
    checks.expect(not debug, "stripped", "still holds debug sections %s" % " ".join(debug))
    checks.expect(pe.FILE_HEADER.NumberOfSymbols == 0, "stripped",
                  "still holds %d symbols" % pe.FILE_HEADER.NumberOfSymbols)

    # The debug link: the file's name, padded to four bytes, and its CRC-32.
    link = sections.get(".gnu_debuglink")
    if not checks.expect(link, "debug link", "no .gnu_debuglink section"):
        return
    data = link.get_data()
    name = data[:data.find(b"\0")]
    checks.expect(name == b"Vemora.dll.debug", "debug link", "names %r, not Vemora.dll.debug" % name)
    debug_path = os.path.join(os.path.dirname(path), name.decode("latin-1"))
    if not checks.expect(os.path.isfile(debug_path), "debug link", "%s is missing" % debug_path):
        return
    with open(debug_path, "rb") as debug_file:
        debug_bytes = debug_file.read()
    offset = (len(name) + 4) // 4 * 4
    checksum = int.from_bytes(data[offset:offset + 4], "little")
    checks.expect(zlib.crc32(debug_bytes) == checksum, "debug link",
                  "%s does not match the checksum in the link" % debug_path)
    debug_pe = pefile.PE(data=debug_bytes, fast_load=True)
    info = sections_by_name(debug_pe).get(".debug_info")
    checks.expect(info and info.SizeOfRawData, "debug link", "%s holds no debug information" % debug_path)


def check_version(checks, pe, version):
    words = [int(word) for word in version.split(".")]
    text = ", ".join(str(word) for word in words)  # as the version block writes it
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    languages = [language.id for kind in (resources.entries if resources else []) if kind.id == RT_VERSION
                 for entry in kind.directory.entries for language in entry.directory.entries]
    checks.expect(languages == [POLISH], "version", "version resource languages %s, not [0x415]"
                  % [hex(language) for language in languages])

    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    fixed = fixed[0] if fixed else None
    if not checks.expect(fixed, "version", "no version block"):
        return
    expected_ms, expected_ls = words[0] << 16 | words[1], words[2] << 16 | words[3]
    checks.expect((fixed.FileVersionMS, fixed.FileVersionLS) == (expected_ms, expected_ls), "version",
                  "FILEVERSION 0x%08x 0x%08x, not %s" % (fixed.FileVersionMS, fixed.FileVersionLS, text))
    checks.expect((fixed.ProductVersionMS, fixed.ProductVersionLS) == (expected_ms, expected_ls), "version",
                  "PRODUCTVERSION 0x%08x 0x%08x, not %s" % (fixed.ProductVersionMS, fixed.ProductVersionLS, text))
    checks.expect(fixed.FileType == FILETYPE_DLL, "version", "FILETYPE %d, not 2 (DLL)" % fixed.FileType)

    with open(LICENSE_FILE, encoding="utf-8") as license_file:
        copyright = next((line.strip() for line in license_file if line.startswith("Copyright ")), None)
    checks.expect(copyright, "version", "LICENSE has no Copyright line")
    expected = {
        "Comments": DESCRIPTION, "FileDescription": DESCRIPTION,
        "FileVersion": text, "ProductVersion": text,
        "InternalName": "Vemora", "OriginalFilename": "Vemora.dll",
        "LegalCopyright": copyright,
        "CompanyName": "", "ProductName": "", "LegalTrademarks": "", "PrivateBuild": "", "SpecialBuild": "",
    }
    tables, translations = [], []
    file_info = getattr(pe, "FileInfo", None)
    for info in file_info[0] if file_info else []:
        tables += getattr(info, "StringTable", [])
        for var in getattr(info, "Var", []):
            value = var.entry.get(b"Translation", "")
            pairs = value.split()
            translations += [(int(pairs[i], 16), int(pairs[i + 1], 16)) for i in range(0, len(pairs) - 1, 2)]
    checks.expect(translations == [(POLISH, UNICODE)], "version",
                  "translations %s, not 0x415, 1200" % translations)
    ids = [table.LangID for table in tables]
    if not checks.expect(ids == [b"041504B0"], "version", "string tables %s, not just 041504B0" % ids):
        return
    strings = {key.decode("utf-8"): value.decode("utf-8") for key, value in tables[0].entries.items()}
    for key in sorted(set(expected) | set(strings)):
        checks.expect(strings.get(key) == expected.get(key), "version",
                      "%s is %r, not %r" % (key, strings.get(key), expected.get(key)))


def main(argv):
    if len(argv) not in (3, 4):
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    path, version = argv[1], argv[2]
    budget = int(argv[3]) if len(argv) == 4 else 65536
    if not os.path.isfile(path):
        print("FAIL: built: %s not built" % path)
        return 1
    try:
        pe = pefile.PE(path)
    except pefile.PEFormatError as error:
        print("FAIL: PE: %s is no PE file: %s" % (path, error))
        return 1
    checks = Checks()
    check_header(checks, pe)
    check_hardening(checks, pe)
    check_export(checks, pe)
    check_imports(checks, pe)
    check_entry(checks, pe)
    check_stripped(checks, pe, path, budget)
    check_version(checks, pe, version)
    if checks.failures:
        print("%d check(s) failed" % checks.failures)
        return 1
    print("Vemora.dll: one export, the allowed imports, an empty entry point, ASLR, DEP and no SEH, "
          "no writable code, stripped within budget, version block as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
