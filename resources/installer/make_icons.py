#!/usr/bin/env python3
"""Draws the program icon for the desktop: a database drum behind a handheld
whose screen shows records.

Writes tallowick-16.png, -32, -48, -64, -128 and -256 (each drawn for its own
size: the small ones leave out detail and put edges on whole pixels) and
tallowick.svg (the drawing of the large sizes). Pure Python, no renderer: run
it again after changing the drawing; the files are kept in the repository so
that a build needs nothing to make them.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (16, 32, 48, 64, 128, 256)

OUTLINE = (29, 32, 38)
BODY = (66, 72, 82)
BODY_LIGHT = (96, 104, 116)
SCREEN = (188, 214, 160)
RECORD = (52, 88, 44)
RECORD_LIGHT = (108, 146, 92)
DRUM = (40, 102, 178)
DRUM_TOP = (120, 170, 230)
DRUM_BAND = (26, 70, 128)
BUTTON = (150, 158, 170)


class Rect:
    def __init__(self, x0, y0, x1, y1, colour, radius=0.0):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.colour, self.radius = colour, radius

    def covers(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.radius
        if r <= 0:
            return True
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def svg(self, scale):
        s = scale
        return '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>' % (
            self.x0 * s, self.y0 * s, (self.x1 - self.x0) * s, (self.y1 - self.y0) * s,
            self.radius * s, hex_colour(self.colour))


class Ellipse:
    def __init__(self, cx, cy, rx, ry, colour):
        self.cx, self.cy, self.rx, self.ry, self.colour = cx, cy, rx, ry, colour

    def covers(self, x, y):
        return ((x - self.cx) / self.rx) ** 2 + ((y - self.cy) / self.ry) ** 2 <= 1.0

    def svg(self, scale):
        s = scale
        return '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="%s"/>' % (
            self.cx * s, self.cy * s, self.rx * s, self.ry * s, hex_colour(self.colour))


def hex_colour(colour):
    return "#%02x%02x%02x" % colour


def drawing(size):
    """The shapes of the icon at `size` pixels, back to front, in pixels.
    Below 32 pixels edges fall on whole pixels and only what stays legible is
    drawn; from 48 pixels on the drum has bands and the handheld buttons."""
    small = size < 32
    px = 1.0 if small else size / 32.0  # the width of an outline
    snap = (lambda v: float(round(v))) if size <= 48 else (lambda v: v)

    def at(fraction):
        return snap(fraction * size)

    shapes = []
    # The database drum, left and behind.
    x0, x1 = at(0.03), at(0.58)
    top, bottom = at(0.26), at(0.88)
    ry = max(1.5, size * 0.085)
    if small:
        shapes.append(Rect(x0, top, x1, bottom, OUTLINE, radius=2))
        shapes.append(Rect(x0 + 1, top + 1, x1 - 1, bottom - 1, DRUM, radius=1))
        shapes.append(Rect(x0 + 1, top + 1, x1 - 1, top + 3, DRUM_TOP))
    else:
        cx, rx = (x0 + x1) / 2, (x1 - x0) / 2
        shapes.append(Ellipse(cx, bottom - ry, rx, ry, OUTLINE))
        shapes.append(Rect(x0, top + ry, x1, bottom - ry, OUTLINE))
        shapes.append(Ellipse(cx, top + ry, rx, ry, OUTLINE))
        shapes.append(Ellipse(cx, bottom - ry, rx - px, ry - px, DRUM))
        shapes.append(Rect(x0 + px, top + ry, x1 - px, bottom - ry, DRUM))
        if size >= 48:
            for band in (0.45, 0.66):
                y = at(band)
                shapes.append(Ellipse(cx, y, rx - px, ry - px, DRUM_BAND))
                shapes.append(Ellipse(cx, y - px * 1.2, rx - px, ry - px, DRUM))
        shapes.append(Ellipse(cx, top + ry, rx - px, ry - px, DRUM_TOP))

    # The handheld, right and in front.
    hx0, hx1 = at(0.40), at(0.97)
    hy0, hy1 = at(0.05), at(0.97)
    radius = 2 if small else size * 0.09
    shapes.append(Rect(hx0, hy0, hx1, hy1, OUTLINE, radius=radius))
    shapes.append(Rect(hx0 + px, hy0 + px, hx1 - px, hy1 - px, BODY, radius=max(1, radius - px)))
    if not small:
        shapes.append(Rect(hx0 + px, hy0 + px, hx1 - px, hy0 + px + size * 0.05, BODY_LIGHT,
                           radius=max(1, radius - px)))
    # The screen with its records.
    sx0, sx1 = at(0.48), at(0.89)
    sy0, sy1 = at(0.14), at(0.66)
    shapes.append(Rect(sx0 - px, sy0 - px, sx1 + px, sy1 + px, OUTLINE))
    shapes.append(Rect(sx0, sy0, sx1, sy1, SCREEN))
    if small:
        rows = [(0.27, 1.0), (0.43, 0.7)] if size >= 16 else []
        for y, length in rows:
            y0 = at(y)
            shapes.append(Rect(sx0 + 1, y0, sx0 + 1 + round((sx1 - sx0 - 2) * length), y0 + 1,
                               RECORD))
    else:
        count = 3 if size < 48 else 5
        pitch = (sy1 - sy0) / (count + 1)
        thick = max(1.0, snap(pitch * 0.38))
        margin = max(2.0, size * 0.035)
        for row in range(count):
            y0 = snap(sy0 + pitch * (row + 1) - thick / 2)
            key = sx0 + margin + (sx1 - sx0 - 2 * margin) * 0.3
            shapes.append(Rect(sx0 + margin, y0, snap(key - px), y0 + thick, RECORD))
            end = sx1 - margin - (sx1 - sx0) * (0.18 if row % 2 else 0.0)
            shapes.append(Rect(snap(key + px), y0, snap(end), y0 + thick, RECORD_LIGHT))
    # The buttons below the screen.
    by = at(0.80)
    if small:
        shapes.append(Rect(at(0.52), by, at(0.85), by + 1, BUTTON))
    else:
        r = size * (0.045 if size >= 48 else 0.05)
        for i in range(4):
            bx = sx0 + (sx1 - sx0) * (i + 0.5) / 4
            shapes.append(Ellipse(bx, by, r + px * 0.6, r + px * 0.6, OUTLINE))
            shapes.append(Ellipse(bx, by, r, r, BUTTON))
    return shapes


def render(size):
    shapes = drawing(size)
    grid = 4 if size >= 64 else 8
    offsets = [(i + 0.5) / grid for i in range(grid)]
    samples = grid * grid
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for oy in offsets:
                y = py + oy
                for ox in offsets:
                    x = px + ox
                    for shape in reversed(shapes):
                        if shape.covers(x, y):
                            cr, cg, cb = shape.colour
                            r += cr
                            g += cg
                            b += cb
                            a += 1
                            break
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / samples)))
        rows.append(row)
    return rows


def write_png(rows, path):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw.extend(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(data)


def write_svg(path):
    size = 256
    body = "\n  ".join(shape.svg(1.0) for shape in drawing(size))
    with open(path, "w") as out:
        out.write('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
                  'viewBox="0 0 %d %d">\n  %s\n</svg>\n' % (size, size, size, size, body))


def main():
    for size in SIZES:
        write_png(render(size), os.path.join(HERE, "tallowick-%d.png" % size))
    write_svg(os.path.join(HERE, "tallowick.svg"))


if __name__ == "__main__":
    main()
