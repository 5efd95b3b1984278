#!/usr/bin/env python3
"""Draws a Windows .ico file from a small text picture.

    make_icons.py PICTURE.txt OUT.ico BITS [BITS ...]

The picture (see src/resources/icons/) names its colours with lines
"color <letter> <RRGGBB>" and then gives its rows, one character per pixel;
"." is transparent. OUT.ico gets one image per BITS argument, in that order:
4 (the standard 16-colour palette, nearest colour), 8 (the picture's own
palette) or 24 (true colour). The output depends only on the input, so builds
stay reproducible.
"""

import struct
import sys

TRANSPARENT = "."

# The 16 colours every Windows display has; 4-bit images are drawn with them.
STANDARD_16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


class PictureError(Exception):
    pass


def read_picture(path):
    """Returns (width, height, rows of (r, g, b) or None for transparent)."""
    colours = {}
    rows = []
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("color "):
                parts = line.split()
                if len(parts) != 3 or len(parts[1]) != 1 or len(parts[2]) != 6 or parts[1] == TRANSPARENT:
                    raise PictureError(f"{path}:{number}: expected 'color <letter> <RRGGBB>'")
                value = int(parts[2], 16)
                colours[parts[1]] = ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)
                continue
            row = []
            for char in line:
                if char == TRANSPARENT:
                    row.append(None)
                elif char in colours:
                    row.append(colours[char])
                else:
                    raise PictureError(f"{path}:{number}: colour '{char}' is not named")
            rows.append(row)
    if not rows:
        raise PictureError(f"{path}: no picture")
    width = len(rows[0])
    if any(len(row) != width for row in rows):
        raise PictureError(f"{path}: rows differ in length")
    if width > 256 or len(rows) > 256:
        raise PictureError(f"{path}: larger than 256 pixels")
    return width, len(rows), rows


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_indices(indices, bits):
    if bits == 8:
        return bytes(indices)
    out = bytearray()
    for i in range(0, len(indices), 2):
        high = indices[i]
        low = indices[i + 1] if i + 1 < len(indices) else 0
        out.append((high << 4) | low)
    return bytes(out)


def image_data(width, height, rows, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour rows and mask rows, bottom up."""
    if bits == 24:
        palette = []
    elif bits == 8:
        # Index 0 is black, the colour under transparent pixels; then the picture's colours.
        palette = [(0, 0, 0)]
        for row in rows:
            for colour in row:
                if colour is not None and colour not in palette:
                    palette.append(colour)
        if len(palette) > 256:
            raise PictureError("more than 255 colours for an 8-bit image")
        palette += [(0, 0, 0)] * (256 - len(palette))
    elif bits == 4:
        palette = STANDARD_16
    else:
        raise PictureError(f"unsupported depth {bits}")

    colour_rows = []
    mask_rows = []
    for row in reversed(rows):
        if bits == 24:
            data = b"".join(bytes((0, 0, 0)) if c is None else bytes((c[2], c[1], c[0])) for c in row)
        else:
            data = pack_indices([0 if c is None else nearest(c, palette) for c in row], bits)
        colour_rows.append(padded(data))
        mask = bytearray((width + 7) // 8)
        for x, colour in enumerate(row):
            if colour is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(padded(bytes(mask)))

    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, len(pixels), 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + pixels


def make_icon(width, height, rows, depths):
    images = [image_data(width, height, rows, bits) for bits in depths]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for bits, data in zip(depths, images):
        colour_count = 1 << bits if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


def main(argv):
    if len(argv) < 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        depths = [int(bits) for bits in argv[3:]]
        width, height, rows = read_picture(argv[1])
        icon = make_icon(width, height, rows, depths)
    except (PictureError, ValueError, OSError) as error:
        print(f"make_icons.py: {error}", file=sys.stderr)
        return 1
    with open(argv[2], "wb") as out:
        out.write(icon)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
