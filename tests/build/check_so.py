#!/usr/bin/env python3
"""Checks the built Linux twin, reading the file's own structures
(pyelftools): a 32-bit x86 library whose only defined dynamic symbol is
IMessageProc, needing nothing beyond the C library.

    check_so.py vemora.so

Each failed check prints a line "FAIL: <check>: ..."; the exit status is 1
when any failed.
"""

import os
import sys

try:
    from elftools.common.exceptions import ELFError
    from elftools.elf.dynamic import DynamicSection
    from elftools.elf.elffile import ELFFile
except ImportError:
    print("FAIL: setup: %s has no pyelftools (Debian: python3-pyelftools)" % sys.executable)
    sys.exit(1)

EXPORT = "IMessageProc"
ALLOWED_NEEDS = {"libc.so.6", "ld-linux.so.2", "libm.so.6"}


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    path = argv[1]
    if not os.path.isfile(path):
        print("FAIL: built: %s not built" % path)
        return 1
    failures = []
    with open(path, "rb") as library:
        try:
            elf = ELFFile(library)
            if elf.elfclass != 32:
                failures.append("class: ELF%d, not a 32-bit ELF" % elf.elfclass)
            if elf["e_machine"] != "EM_386":
                failures.append("machine: %s, not an x86 library" % elf["e_machine"])
            dynsym = elf.get_section_by_name(".dynsym")
            exported = sorted(symbol.name for symbol in (dynsym.iter_symbols() if dynsym else [])
                              if symbol["st_info"]["bind"] in ("STB_GLOBAL", "STB_WEAK")
                              and symbol["st_shndx"] != "SHN_UNDEF")
            if exported != [EXPORT]:
                failures.append("exports: defined dynamic symbols %s, not exactly %s" % (exported, EXPORT))
            needed = [tag.needed for section in elf.iter_sections() if isinstance(section, DynamicSection)
                      for tag in section.iter_tags("DT_NEEDED")]
            failures += ["needs: %s, beyond the C library" % name for name in needed if name not in ALLOWED_NEEDS]
        except ELFError as error:
            failures.append("ELF: %s is no ELF file: %s" % (path, error))
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("vemora.so: one visible symbol, only the C library needed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
