#!/usr/bin/env python3
"""Writes the Windows forms of the program's pictures, from the same XPM
drawings the Linux build shows (../make_images.py draws them):

  make_windows_images.py ICON  program_icon.xpm    program_icon.ico     (32 x 32, 16 colours)
  make_windows_images.py ICON  installer_icon.xpm  installer_icon.ico   (32 x 32, 16 colours)
  make_windows_images.py BMP   installer_picture.xpm installer_picture.bmp (24 bits per pixel)

An icon keeps the drawing's transparent pixels in its mask; a bitmap shows
them in the dialog's grey. The build runs it; nothing it writes is kept in
the repository.
"""
import re
import struct
import sys

DIALOG_GREY = (0xC0, 0xC0, 0xC0)


def read_xpm(path):
    with open(path, encoding="ascii") as f:
        strings = re.findall(r'"((?:[^"\\]|\\.)*)"', f.read())
    width, height, ncolors, cpp = (int(v) for v in strings[0].split()[:4])
    colours = {}
    for line in strings[1:1 + ncolors]:
        key, rest = line[:cpp], line[cpp:].split()
        value = rest[rest.index("c") + 1]
        colours[key] = None if value.lower() == "none" else (
            int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16))
    rows = []
    for line in strings[1 + ncolors:1 + ncolors + height]:
        rows.append([colours[line[i:i + cpp]] for i in range(0, width * cpp, cpp)])
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit(f"{path}: the picture is not {width} x {height}")
    return width, height, rows


def bitmap_info(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours, 0)


def icon(width, height, rows):
    palette = sorted({p for row in rows for p in row if p is not None})
    if len(palette) > 16:
        raise SystemExit("an icon of 16 colours holds at most 16")
    palette += [(0, 0, 0)] * (16 - len(palette))
    index = {c: i for i, c in enumerate(palette)}
    xor_stride = ((width * 4 + 31) // 32) * 4
    and_stride = ((width + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, p in enumerate(row):
            value = 0 if p is None else index[p]
            line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    image = (bitmap_info(width, height * 2, 4, 16, len(xor) + len(mask)) +
             b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette) + xor + mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(image), 22)
    return directory + entry + image


def bmp(width, height, rows):
    stride = ((width * 3 + 3) // 4) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for p in row:
            r, g, b = p if p is not None else DIALOG_GREY
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = bitmap_info(width, height, 24, 0, len(pixels))
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("ICON", "BMP"):
        raise SystemExit(__doc__)
    kind, source, target = sys.argv[1:]
    width, height, rows = read_xpm(source)
    data = icon(width, height, rows) if kind == "ICON" else bmp(width, height, rows)
    with open(target, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
