#!/usr/bin/env python3
"""Draws the program's images and writes them as XPM files beside this script.

program_icon.xpm      32 x 32, 16 colours: a handheld whose screen shows records,
                      with a database drum at its foot (resource 128).
installer_icon.xpm    32 x 32, 16 colours: a box with an arrow into it (resource 132).
installer_picture.xpm 104 x 210: the picture beside the installer's pages (resource 141).
Run it again after changing a drawing; the XPM files are kept in the repository.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, width, height, fill=" "):
        self.w, self.h = width, height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c)
            self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c)
            self.put(x1, y, c)

    def round_rect(self, x0, y0, x1, y1, fill, edge):
        self.rect(x0 + 1, y0, x1 - 1, y1, fill)
        self.rect(x0, y0 + 1, x1, y1 - 1, fill)
        for x in range(x0 + 1, x1):
            self.put(x, y0, edge)
            self.put(x, y1, edge)
        for y in range(y0 + 1, y1):
            self.put(x0, y, edge)
            self.put(x1, y, edge)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(cy - ry, cy + ry + 1):
            for x in range(cx - rx, cx + rx + 1):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    self.put(x, y, c)

    def write(self, name, palette, variable):
        used = sorted({c for row in self.px for c in row})
        lines = [f'"{self.w} {self.h} {len(used)} 1"']
        for c in used:
            lines.append(f'"{c} c {palette[c]}"')
        for row in self.px:
            lines.append('"' + "".join(row) + '"')
        with open(os.path.join(HERE, name), "w", encoding="ascii") as out:
            out.write("/* XPM */\n")
            out.write(f"static const char* const {variable}[] = {{\n")
            out.write(",\n".join(lines))
            out.write("};\n")


# The 16 colours of the classic palette.
PALETTE = {
    " ": "None", ".": "#000000", "r": "#800000", "g": "#008000", "y": "#808000",
    "b": "#000080", "m": "#800080", "c": "#008080", "s": "#C0C0C0", "d": "#808080",
    "R": "#FF0000", "G": "#00FF00", "Y": "#FFFF00", "B": "#0000FF", "C": "#00FFFF",
    "w": "#FFFFFF",
}


def drum(cv, x0, y0, width, height, body, top, edge):
    rx = width // 2
    cx = x0 + rx
    cv.rect(x0, y0 + 2, x0 + width - 1, y0 + height - 2, body)
    cv.ellipse(cx, y0 + height - 2, rx, 2, body)
    for band in (y0 + height // 2,):
        for x in range(x0, x0 + width):
            cv.put(x, band, edge)
    cv.ellipse(cx, y0 + 2, rx, 2, top)
    for x in range(x0, x0 + width):
        cv.put(x, y0 + height - 1, edge)


def program_icon():
    cv = Canvas(32, 32)
    # Handheld body and screen.
    cv.round_rect(9, 1, 29, 30, "d", ".")
    cv.rect(10, 2, 28, 3, "s")
    cv.frame(12, 4, 26, 20, ".")
    cv.rect(13, 5, 25, 19, "c")
    for y in (7, 10, 13, 16):  # records on the screen
        cv.rect(14, y, 24, y, "w")
        cv.rect(14, y + 1, 19, y + 1, "C")
    # Buttons.
    for x in (12, 17, 22):
        cv.rect(x, 23, x + 3, 25, "s")
        cv.frame(x, 23, x + 3, 25, ".")
    cv.rect(13, 27, 25, 28, "s")
    # Database drum at the foot, in front of the handheld.
    drum(cv, 1, 17, 12, 14, "B", "C", "b")
    cv.frame(1, 19, 1, 28, "b")
    return cv


def installer_icon():
    cv = Canvas(32, 32)
    # Open box.
    cv.rect(4, 16, 27, 29, "y")
    cv.frame(4, 16, 27, 29, ".")
    cv.rect(5, 17, 26, 18, "Y")
    for x in range(4, 28):
        cv.put(x, 22, "r")
    # Flaps.
    for i in range(5):
        cv.put(3 - i // 2, 15 - i, ".")
        cv.put(28 + i // 2, 15 - i, ".")
    # Arrow pointing into the box.
    cv.rect(13, 2, 18, 12, "G")
    for i in range(8):
        cv.rect(9 + i, 12 + i // 2, 22 - i, 12 + i // 2, "G")
    cv.frame(13, 2, 18, 2, "g")
    cv.put(12, 2, "g")
    return cv


def installer_picture():
    width, height = 104, 210
    cv = Canvas(width, height)
    # Vertical gradient from deep blue to teal, in coarse bands.
    shades = ["#10205A", "#132A66", "#173473", "#1B3F80", "#1F4A8C", "#235598",
              "#2760A2", "#2B6BAB", "#2F76B3", "#3381BA", "#378CC0", "#3B97C4"]
    palette = {" ": "None", ".": "#000000", "w": "#FFFFFF", "s": "#C0C0C0",
               "d": "#606060", "c": "#1E8C8C", "C": "#9CF0F0", "y": "#F2C230"}
    letters = "abcdefghijkl"
    for i, shade in enumerate(shades):
        palette[letters[i]] = shade
    for y in range(height):
        band = min(len(shades) - 1, y * len(shades) // height)
        for x in range(width):
            cv.put(x, y, letters[band])
    # A handheld in the middle.
    cv.round_rect(22, 40, 81, 150, "s", ".")
    cv.frame(29, 50, 74, 112, ".")
    cv.rect(30, 51, 73, 111, "c")
    for y in range(56, 108, 8):
        cv.rect(34, y, 69, y + 1, "C")
        cv.rect(34, y + 3, 54, y + 3, "w")
    for x in (30, 45, 60):
        cv.rect(x, 122, x + 12, 130, "d")
    cv.rect(36, 137, 67, 142, "d")
    # Stars of the setup.
    for (x, y) in ((12, 18), (88, 26), (70, 12), (16, 176), (86, 188), (50, 196)):
        cv.put(x, y, "y")
        cv.put(x - 1, y, "y")
        cv.put(x + 1, y, "y")
        cv.put(x, y - 1, "y")
        cv.put(x, y + 1, "y")
    return cv, palette


def main():
    program_icon().write("program_icon.xpm", PALETTE, "program_icon_xpm")
    installer_icon().write("installer_icon.xpm", PALETTE, "installer_icon_xpm")
    picture, palette = installer_picture()
    picture.write("installer_picture.xpm", palette, "installer_picture_xpm")


if __name__ == "__main__":
    main()
