#!/usr/bin/env python3
"""Checks the icon groups of the built Vemora.dll, read from its PE resource
directory: group 100 holds three 16x16 images of 4, 8 and 24 bits per pixel,
group 2 one 16x16 image of 8 bits per pixel, both (and every image they use)
in the Polish language block, and no other icon group is present.

    check_icons.py Vemora.dll
"""

import struct
import sys

RT_ICON = 3
RT_GROUP_ICON = 14
POLISH = 0x0415
EXPECTED_GROUPS = {100: [4, 8, 24], 2: [8]}


class Image:
    """The PE file with its resource tree as {type: {name: {language: bytes}}}."""

    def __init__(self, data):
        self.data = data
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        coff = pe_offset + 4
        sections, optional_size = struct.unpack_from("<H12xH", data, coff + 2)
        optional = coff + 20
        (magic,) = struct.unpack_from("<H", data, optional)
        if magic != 0x10B:
            raise ValueError("not a 32-bit PE file")
        self.resource_rva, _ = struct.unpack_from("<II", data, optional + 96 + 2 * 8)
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            vsize, vaddr, raw_size, raw_pointer = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((vaddr, max(vsize, raw_size), raw_pointer))
        if self.resource_rva == 0:
            raise ValueError("no resource directory")
        self.base = self.offset(self.resource_rva)
        self.tree = self.directory(0, depth=3)

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise ValueError(f"address {rva:#x} is in no section")

    def directory(self, at, depth):
        named, numbered = struct.unpack_from("<HH", self.data, self.base + at + 12)
        entries = {}
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, self.base + at + 16 + 8 * i)
            key = f"name@{name & 0x7FFFFFFF:#x}" if name & 0x80000000 else name
            if target & 0x80000000:
                entries[key] = self.directory(target & 0x7FFFFFFF, depth - 1) if depth > 1 else None
            else:
                rva, size = struct.unpack_from("<II", self.data, self.base + target)
                start = self.offset(rva)
                entries[key] = self.data[start:start + size]
        return entries


def check(dll):
    failures = []
    image = Image(open(dll, "rb").read())
    groups = image.tree.get(RT_GROUP_ICON, {})
    icons = image.tree.get(RT_ICON, {})

    if set(groups) != set(EXPECTED_GROUPS):
        failures.append(f"icon groups are {sorted(groups, key=str)}, expected {sorted(EXPECTED_GROUPS)}")

    for group_id, expected_depths in EXPECTED_GROUPS.items():
        languages = groups.get(group_id)
        if not languages:
            continue
        if list(languages) != [POLISH]:
            failures.append(f"group {group_id} languages {[hex(l) for l in languages]}, expected only 0x415")
            continue
        group = languages[POLISH]
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        if (reserved, kind) != (0, 1) or len(group) != 6 + 14 * count:
            failures.append(f"group {group_id}: malformed directory")
            continue
        depths = []
        for i in range(count):
            width, height, _, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            where = f"group {group_id} image {i} (icon {icon_id})"
            depths.append(bits)
            if (width, height) != (16, 16):
                failures.append(f"{where}: {width}x{height} in the directory, expected 16x16")
            icon_languages = icons.get(icon_id, {})
            if list(icon_languages) != [POLISH]:
                failures.append(f"{where}: languages {[hex(l) for l in icon_languages]}, expected only 0x415")
                continue
            failures += check_bitmap(where, icon_languages[POLISH], bits, size)
        if sorted(depths) != expected_depths:
            failures.append(f"group {group_id}: bit depths {depths}, expected {expected_depths}")
    return failures


def check_bitmap(where, data, bits, size):
    """The image behind a directory entry: a 16x16 bitmap of that depth, with a
    mask that leaves some pixels showing."""
    if len(data) != size:
        return [f"{where}: {len(data)} bytes, the directory says {size}"]
    header_size, width, height, planes, depth = struct.unpack_from("<IiiHH", data, 0)
    if (header_size, width, height, planes, depth) != (40, 16, 32, 1, bits):
        return [f"{where}: bitmap header {header_size}, {width}x{height}, {planes} planes, {depth} bits; "
                f"expected 40, 16x32, 1 plane, {bits} bits"]
    palette = 4 * (1 << bits) if bits <= 8 else 0
    stride = (16 * bits + 31) // 32 * 4
    mask_start = 40 + palette + 16 * stride
    if len(data) != mask_start + 16 * 4:
        return [f"{where}: {len(data)} bytes, a 16x16 image of {bits} bits takes {mask_start + 64}"]
    mask = data[mask_start:]
    opaque = sum(8 - bin(mask[4 * row + half]).count("1") for row in range(16) for half in range(2))
    if opaque == 0:
        return [f"{where}: every pixel is transparent"]
    return []


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        failures = check(argv[1])
    except (OSError, ValueError, struct.error, KeyError) as error:
        failures = [f"cannot read {argv[1]}: {error}"]
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        return 1
    print("Vemora.dll: icon groups 100 (4, 8, 24 bits) and 2 (8 bits), Polish")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
