#!/usr/bin/env python3
"""Writes the program icon (resource 128, ../program_icon.xpm) as the PNG files
the desktop menu shows: tallowick-32.png (as drawn) and tallowick-64.png and
tallowick-128.png (each pixel enlarged, so the drawing stays crisp).
Run it again after changing the drawing; the PNG files are kept in the repository.
"""
import os
import re
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
XPM = os.path.join(HERE, "..", "program_icon.xpm")


def read_xpm(path):
    lines = re.findall(r'"([^"]*)"', open(path).read())
    width, height, colours, per_pixel = map(int, lines[0].split()[:4])
    palette = {}
    for line in lines[1 : 1 + colours]:
        key, value = line[:per_pixel], line[per_pixel:].split()[-1]
        palette[key] = None if value.lower() == "none" else tuple(int(value[i : i + 2], 16) for i in (1, 3, 5))
    rows = []
    for line in lines[1 + colours : 1 + colours + height]:
        rows.append([palette[line[x * per_pixel : (x + 1) * per_pixel]] for x in range(width)])
    return rows


def png(rows, path):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw.extend((0, 0, 0, 0) if pixel is None else (*pixel, 255))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(data)


def enlarged(rows, factor):
    return [[p for p in row for _ in range(factor)] for row in rows for _ in range(factor)]


def main():
    rows = read_xpm(XPM)
    for size in (32, 64, 128):
        png(enlarged(rows, size // len(rows)), os.path.join(HERE, "tallowick-%d.png" % size))


if __name__ == "__main__":
    main()
