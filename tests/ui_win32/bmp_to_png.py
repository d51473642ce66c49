#!/usr/bin/env python3
"""Converts the smoke program's 24-bit BMP screenshots to PNG (zlib only):
  bmp_to_png.py IN.bmp OUT.png"""
import struct
import sys
import zlib


def main():
    source, target = sys.argv[1:3]
    data = open(source, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise SystemExit(f"{source}: {bits} bits per pixel, not 24")
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        line = y if height < 0 else abs(height) - 1 - y
        start = offset + line * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
    with open(target, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
