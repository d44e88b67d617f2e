#!/usr/bin/env python3
"""Draws the 46 images of the terminal picture (500.png .. 545.png) and writes k52gen.qrc.

Only the Python standard library is used (zlib and struct write the PNG files), so the images can be
regenerated anywhere: python3 resources/generate_images.py [output folder]

Image roles and sizes:
  500       180x400  the case with the cyan display and every key drawn released
  501..512   32x20   keys 1..12 released       521..532  32x20  keys 1..12 pressed
  513..520   23x15   keys 13..20 released      533..540  23x15  keys 13..20 pressed
  541         6x10   input cursor (blue/cyan checkerboard)
  542       120x10   highlight bar (blue)
  543         8x10   alpha indicator (cyan mark on black)
  544         8x10   plain cyan (erases the alpha indicator)
  545       127x10   plain cyan (status line background)
A key image is one pixel wider and taller than the key: its last column and row are the key's shadow.
"""

import os
import struct
import sys
import zlib

CYAN = (0, 255, 255)
BLUE = (0, 0, 255)
BLACK = (0, 0, 0)

CASE = (50, 55, 64)
CASE_EDGE = (22, 24, 28)
CASE_RIM = (84, 91, 104)
PANEL = (38, 42, 49)
BEZEL = (24, 26, 30)
BEZEL_RIM = (60, 64, 72)
LCD_EDGE = (0, 196, 204)
SCAN_WINDOW = (120, 22, 32)
SCAN_GLINT = (186, 52, 62)
LABEL = (236, 238, 242)
LABEL_DIM = (150, 157, 170)
SHADOW = (16, 17, 20)

# ---------------------------------------------------------------- fonts (rows of '#' and '.')

SMALL = {  # 3x5 capitals and signs; lower case 6 rows (ascender row 0, descender row 5)
    'A': [".#.", "#.#", "###", "#.#", "#.#"], 'B': ["##.", "#.#", "##.", "#.#", "##."],
    'C': [".##", "#..", "#..", "#..", ".##"], 'D': ["##.", "#.#", "#.#", "#.#", "##."],
    'E': ["###", "#..", "##.", "#..", "###"], 'F': ["###", "#..", "##.", "#..", "#.."],
    'G': [".##", "#..", "#.#", "#.#", ".##"], 'H': ["#.#", "#.#", "###", "#.#", "#.#"],
    'I': ["###", ".#.", ".#.", ".#.", "###"], 'J': ["..#", "..#", "..#", "#.#", ".#."],
    'K': ["#.#", "#.#", "##.", "#.#", "#.#"], 'L': ["#..", "#..", "#..", "#..", "###"],
    'M': ["#...#", "##.##", "#.#.#", "#...#", "#...#"], 'N': ["#..#", "##.#", "#.##", "#..#", "#..#"],
    'O': [".#.", "#.#", "#.#", "#.#", ".#."], 'P': ["##.", "#.#", "##.", "#..", "#.."],
    'Q': [".#.", "#.#", "#.#", "##.", ".##"], 'R': ["##.", "#.#", "##.", "#.#", "#.#"],
    'S': [".##", "#..", ".#.", "..#", "##."], 'T': ["###", ".#.", ".#.", ".#.", ".#."],
    'U': ["#.#", "#.#", "#.#", "#.#", "###"], 'V': ["#.#", "#.#", "#.#", "#.#", ".#."],
    'W': ["#...#", "#...#", "#.#.#", "##.##", "#...#"], 'X': ["#.#", "#.#", ".#.", "#.#", "#.#"],
    'Y': ["#.#", "#.#", ".#.", ".#.", ".#."], 'Z': ["###", "..#", ".#.", "#..", "###"],
    '*': ["...", "#.#", ".#.", "#.#", "..."], '+': ["...", ".#.", "###", ".#.", "..."],
    '$': [".##", "##.", ".#.", ".##", "##."], '/': ["..#", "..#", ".#.", "#..", "#.."],
    '-': ["...", "...", "###", "...", "..."], '%': ["#.#", "..#", ".#.", "#..", "#.#"],
    ':': [".", "#", ".", "#", "."], ' ': ["..", "..", "..", "..", ".."],
    'l': ["#", "#", "#", "#", "#", "."], 'h': ["#..", "#..", "##.", "#.#", "#.#", "..."],
    'p': ["...", "##.", "#.#", "##.", "#..", "#.."], 'a': ["...", ".##", "#.#", "#.#", ".##", "..."],
    'e': ["...", ".#.", "###", "#..", ".##", "..."], 'n': ["...", "##.", "#.#", "#.#", "#.#", "..."],
    'u': ["...", "#.#", "#.#", "#.#", ".##", "..."],
}

LARGE = {  # 5x7
    '0': [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    '1': ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    '2': [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    '3': ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    '4': ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    '5': ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    '6': ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    '7': ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    '8': [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    '9': [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    'K': ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    '.': ["..", "..", "..", "..", "..", "##", "##"],
}

SYMBOLS = {
    'up': ["..#..", ".###.", "#.#.#", "..#..", "..#..", "..#..", "..#.."],
    'down': ["..#..", "..#..", "..#..", "..#..", "#.#.#", ".###.", "..#.."],
    'return': ["........#", "........#", "..#.....#", ".##.....#", "#########", ".##......", "..#......"],
}


def text_width(text, font, bold=False):
    if not text:
        return 0
    w = sum(len(font[c][0]) for c in text) + (len(text) - 1)
    return w + (len(text) if bold else 0)


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        fill = fill if len(fill) == 4 else fill + (255,)
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c, alpha=255):
        if 0 <= x < self.w and 0 <= y < self.h:
            if alpha >= 255:
                self.px[y][x] = c[:3] + (255,)
            elif alpha > 0:
                r, g, b, a = self.px[y][x]
                k = alpha / 255.0
                na = max(a, alpha)
                self.px[y][x] = (round(r + (c[0] - r) * k), round(g + (c[1] - g) * k),
                                 round(b + (c[2] - b) * k), na)

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):  # right and bottom exclusive
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.set(x, y, c)

    def round_rect(self, x0, y0, x1, y1, r, c, aa=True):
        """A filled rounded rectangle; with aa the corners are smoothed by 4x4 supersampling."""
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                cov = corner_coverage(x, y, x0, y0, x1, y1, r, 4 if aa else 1)
                if cov > 0:
                    self.set(x, y, c, round(255 * cov))

    def glyphs(self, x, y, text, font, c, bold=False):
        for ch in text:
            rows = font[ch]
            for gy, row in enumerate(rows):
                for gx, bit in enumerate(row):
                    if bit == '#':
                        self.set(x + gx, y + gy, c)
                        if bold:
                            self.set(x + gx + 1, y + gy, c)
            x += len(rows[0]) + 1 + (1 if bold else 0)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                r, g, b, a = other.px[y][x]
                if a:
                    self.set(ox + x, oy + y, (r, g, b), a)


def corner_coverage(x, y, x0, y0, x1, y1, r, n):
    inside = 0
    for sy in range(n):
        for sx in range(n):
            px = x + (sx + 0.5) / n
            py = y + (sy + 0.5) / n
            cx = min(max(px, x0 + r), x1 - r)
            cy = min(max(py, y0 + r), y1 - r)
            if (px - cx) ** 2 + (py - cy) ** 2 <= r * r:
                inside += 1
    return inside / (n * n)


# ---------------------------------------------------------------- keys

UPPER = {  # key: (digit or symbol, letters)
    1: ('7', 'ABC'), 2: ('8', 'DEF'), 3: ('9', 'GHI'), 4: ('4', 'JKL'), 5: ('5', 'MNO'), 6: ('6', 'PQR'),
    7: ('1', 'STU'), 8: ('2', 'VWX'), 9: ('3', 'YZ*'), 10: ('0', '+$/'), 11: ('.', '-%:'), 12: ('return', ''),
}
LOWER = {13: 'BS', 14: 'SP', 15: 'up', 16: 'down', 17: 'Alpha', 18: 'FN', 19: 'ESC', 20: 'PWR'}

KEY_STYLES = {  # cap, pressed cap, legend, second legend
    'digit': ((218, 222, 228), (150, 155, 164), (28, 30, 36), (52, 86, 150)),
    'enter': ((66, 158, 96), (40, 104, 62), (250, 252, 250), None),
    'function': ((110, 117, 130), (70, 75, 86), (246, 248, 250), None),
    'alpha': ((236, 180, 52), (168, 124, 30), (30, 28, 24), None),
    'power': ((204, 60, 50), (140, 38, 30), (250, 246, 244), None),
}


def key_style(k):
    if k <= 11:
        return KEY_STYLES['digit']
    if k == 12:
        return KEY_STYLES['enter']
    if k == 17:
        return KEY_STYLES['alpha']
    if k == 20:
        return KEY_STYLES['power']
    return KEY_STYLES['function']


def key_origin(k):
    if k <= 12:
        col, row = (k - 1) % 3, (k - 1) // 3
        return 30 + 45 * col, 235 + 28 * row
    col, row = (k - 13) % 4, (k - 13) // 4
    return 33 + 31 * col, 347 + 23 * row


def key_size(k):
    return (32, 20) if k <= 12 else (23, 15)


def shade(c, f):
    return tuple(max(0, min(255, round(v * f))) for v in c)


def draw_key(k, pressed):
    w, h = key_size(k)
    cap, cap_down, ink, ink2 = key_style(k)
    img = Canvas(w, h, PANEL)
    cw, ch = w - 1, h - 1  # the cap; the last column and row are its shadow
    d = 1 if pressed else 0
    if not pressed:
        img.round_rect(1, 1, w, h, 3, SHADOW)
    fill = cap_down if pressed else cap
    img.round_rect(d, d, cw + d, ch + d, 3, shade(fill, 0.62))  # rim
    img.round_rect(d + 1, d + 1, cw + d - 1, ch + d - 1, 2, fill)
    if not pressed:
        for x in range(d + 3, cw + d - 3):
            img.set(x, d + 1, shade(fill, 1.12))
        for x in range(d + 3, cw + d - 3):
            img.set(x, ch + d - 2, shade(fill, 0.86))
    if pressed:
        ink = shade(ink, 0.85) if sum(ink) > 300 else ink
    if k <= 12:
        main, letters = UPPER[k]
        if main == 'return':
            img.glyphs(d + (cw - 9) // 2, d + (ch - 7) // 2, ['return'], SYMBOLS, ink)
        else:
            bold = main != '.'
            mw = text_width(main, LARGE, bold)
            lw = text_width(letters, SMALL)
            gap = 4
            x = d + (cw - (mw + gap + lw)) // 2
            img.glyphs(x, d + (ch - 7) // 2, main, LARGE, ink, bold)
            img.glyphs(x + mw + gap, d + (ch - 7) // 2 + 2, letters, SMALL, ink2)
    else:
        legend = LOWER[k]
        if legend in SYMBOLS:
            img.glyphs(d + (cw - 5) // 2, d + (ch - 7) // 2, [legend], SYMBOLS, ink)
        else:
            tw = text_width(legend, SMALL)
            img.glyphs(d + (cw - tw + 1) // 2, d + (ch - 5) // 2, legend, SMALL, ink)
    return img


# ---------------------------------------------------------------- the case

def draw_case():
    img = Canvas(180, 400)
    img.round_rect(0, 0, 180, 400, 18, CASE_EDGE)
    img.round_rect(1, 1, 179, 399, 17, CASE_RIM)
    img.round_rect(2, 2, 178, 398, 16, CASE)
    # the scan window on the top edge, and the two status lamps
    img.round_rect(54, 7, 126, 15, 3, SCAN_WINDOW)
    for x in range(57, 123):
        img.set(x, 9, SCAN_GLINT)
    img.round_rect(20, 18, 26, 24, 3, (70, 200, 100))
    img.round_rect(154, 18, 160, 24, 3, (220, 72, 60))
    # display: bezel, then the cyan glass; text rows run from x 26 to 153, y 52 to 132
    img.round_rect(11, 30, 169, 152, 7, BEZEL_RIM)
    img.round_rect(12, 31, 168, 151, 6, BEZEL)
    img.rect(19, 43, 161, 141, LCD_EDGE)
    img.rect(20, 44, 160, 140, CYAN)
    # brand
    brand = "K52"
    bw = text_width(brand, LARGE, True) * 2
    bx = (180 - bw) // 2
    tmp = Canvas(text_width(brand, LARGE, True), 7)
    tmp.glyphs(0, 0, brand, LARGE, LABEL, True)
    for y in range(tmp.h):
        for x in range(tmp.w):
            if tmp.px[y][x][3]:
                img.rect(bx + 2 * x, 164 + 2 * y, bx + 2 * x + 2, 164 + 2 * y + 2, LABEL)
    tag = "DATA TERMINAL"
    img.glyphs((180 - text_width(tag, SMALL)) // 2, 186, tag, SMALL, LABEL_DIM)
    for x in range(40, 140):
        img.set(x, 198, (0, 150, 160))
    # keypad plate
    img.round_rect(19, 224, 161, 396, 8, PANEL)
    for k in range(1, 21):
        img.blit(draw_key(k, False), *key_origin(k))
    mx, my = key_origin(20)
    img.glyphs(mx + (22 - text_width("Menu", SMALL) + 1) // 2, my + 16, "Menu", SMALL, LABEL_DIM)
    return img


def solid(w, h, c):
    return Canvas(w, h, c)


def cursor():
    img = Canvas(6, 10)
    for y in range(10):
        for x in range(6):
            img.set(x, y, BLUE if (x + y) % 2 == 0 else CYAN)
    return img


def alpha_mark():
    img = Canvas(8, 10, BLACK)
    img.glyphs(2, 2, "A", SMALL, CYAN)
    for x in range(1, 7):
        img.set(x, 8, CYAN)
    return img


# ---------------------------------------------------------------- PNG

def write_png(path, canvas):
    opaque = all(p[3] == 255 for row in canvas.px for p in row)
    raw = bytearray()
    for row in canvas.px:
        raw.append(0)
        for p in row:
            raw.extend(p[:3] if opaque else p)
    colour_type = 2 if opaque else 6

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    images = {500: draw_case()}
    for k in range(1, 21):
        images[500 + k] = draw_key(k, False)
        images[520 + k] = draw_key(k, True)
    images[541] = cursor()
    images[542] = solid(120, 10, BLUE)
    images[543] = alpha_mark()
    images[544] = solid(8, 10, CYAN)
    images[545] = solid(127, 10, CYAN)
    for n, img in images.items():
        write_png(os.path.join(out, "%d.png" % n), img)
    with open(os.path.join(out, "k52gen.qrc"), "w") as f:
        f.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/images\">\n")
        for n in sorted(images):
            f.write("    <file>%d.png</file>\n" % n)
        f.write("  </qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
