#!/usr/bin/env python3
"""Draws the desktop icons (the program and its template file type) from the terminal's own artwork.

    python3 resources/generate_icons.py OUTPUT_FOLDER

writes a hicolor icon theme tree below OUTPUT_FOLDER:
  hicolor/SxS/apps/org.k52.ApplicationGenerator.png      the terminal, showing a menu on its display
  hicolor/SxS/mimetypes/application-x-k52-template.png   a page carrying the terminal's display
for S in 48, 64, 128 and 256. Like generate_images.py it needs only the Python standard library.
"""

import os
import sys

sys.dont_write_bytecode = True  # leave no cache in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate_images as art  # noqa: E402  (the terminal's drawing code, shared on purpose)

APP_ID = "org.k52.ApplicationGenerator"
MIME_ICON = "application-x-k52-template"
SIZES = (48, 64, 128, 256)

PAGE = (250, 250, 252)
PAGE_EDGE = (112, 118, 130)
PAGE_FOLD = (214, 218, 226)
INK = (28, 30, 36)
WHITE = (255, 255, 255)

# The display as the terminal shows an application's menu: a title, then options under the highlight bar.
MENU_ROWS = ("MENU", "STOCK", "ORDERS", "COUNT", "SEND")
DISPLAY = (11, 30, 169, 152)  # the bezel and the glass within the case picture


def terminal_with_menu():
    img = art.draw_case()
    x0, y0 = 26, 52  # the first text cell of the display
    title = MENU_ROWS[0]
    img.glyphs(x0 + (127 - art.text_width(title, art.SMALL)) // 2, y0 + 3, title, art.SMALL, art.BLACK)
    for row, text in enumerate(MENU_ROWS[1:], start=1):
        y = y0 + 10 * row
        ink = art.BLACK
        if row == 1:
            img.rect(x0, y, x0 + 120, y + 10, art.BLUE)
            ink = WHITE
        img.glyphs(x0 + 6, y + 3, text, art.SMALL, ink)
    return img


def crop(src, x0, y0, x1, y1):
    out = art.Canvas(x1 - x0, y1 - y0)
    out.px = [row[x0:x1] for row in src.px[y0:y1]]
    return out


def box_weights(n_out, n_in):
    """For each output cell, the input cells it covers and by how much (area averaging)."""
    scale = n_in / n_out
    table = []
    for o in range(n_out):
        a, b = o * scale, (o + 1) * scale
        cells = []
        i = int(a)
        while i < n_in and i < b:
            w = min(b, i + 1) - max(a, i)
            if w > 1e-9:
                cells.append((i, w / scale))
            i += 1
        table.append(cells)
    return table


def resample(src, w, h):
    """Scales by area averaging on premultiplied alpha, so edges keep their colour and no fringe appears."""
    pre = [[(r * a, g * a, b * a, a) for r, g, b, a in row] for row in src.px]
    wx = box_weights(w, src.w)
    rows = []
    for row in pre:
        rows.append([tuple(sum(row[i][c] * k for i, k in cells) for c in range(4)) for cells in wx])
    out = art.Canvas(w, h)
    for y, cells in enumerate(box_weights(h, src.h)):
        for x in range(w):
            r, g, b, a = (sum(rows[i][x][c] * k for i, k in cells) for c in range(4))
            if a > 0.5:
                out.px[y][x] = (round(r / a), round(g / a), round(b / a), min(255, round(a)))
    return out


def fill(img, box, inside, colour):
    """Fills the pixels of box whose area lies inside the shape; only pixels on its edge are supersampled."""
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        for x in range(x0, x1):
            corners = (inside(x, y), inside(x + 1, y), inside(x, y + 1), inside(x + 1, y + 1))
            if all(corners):
                img.set(x, y, colour)
            elif any(corners):
                samples = [(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) for sy in range(4) for sx in range(4)]
                hits = sum(inside(px, py) for px, py in samples)
                img.set(x, y, colour, round(255 * hits / 16))


def page_shape(x0, y0, x1, y1, fold):
    """A sheet whose top right corner is folded down along the diagonal of a fold by fold square."""
    def inside(x, y):
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - (x1 - fold)) <= (y - y0)
    return inside


def fold_shape(x1, y0, fold):
    def inside(x, y):
        return x1 - fold <= x <= x1 and y0 <= y <= y0 + fold and (x - (x1 - fold)) >= (y - y0)
    return inside


def app_icon(terminal, size):
    h = round(size * 0.94)
    w = round(h * terminal.w / terminal.h)
    img = art.Canvas(size, size)
    img.blit(resample(terminal, w, h), (size - w) // 2, (size - h) // 2)
    return img


def template_icon(terminal, size):
    img = art.Canvas(size, size)
    x0, y0 = round(size * 0.16), round(size * 0.05)
    x1, y1 = size - x0, size - y0
    fold = round((x1 - x0) * 0.26)
    edge = max(1, round(size / 64))
    box = (x0, y0, x1, y1)
    fill(img, box, page_shape(x0, y0, x1, y1, fold), PAGE_EDGE)
    fill(img, box, page_shape(x0 + edge, y0 + edge, x1 - edge, y1 - edge, fold - edge), PAGE)
    fill(img, box, fold_shape(x1 - edge, y0 + edge, fold - edge), PAGE_FOLD)

    display = crop(terminal, *DISPLAY)
    dw = round((x1 - x0) * 0.74)
    dh = round(dw * display.h / display.w)
    img.blit(resample(display, dw, dh), (size - dw) // 2, y0 + fold + edge)

    label = "ATC"
    scale = max(2, size // 24)
    lw, lh = art.text_width(label, art.SMALL), 5
    big = art.Canvas(lw * scale, lh * scale)
    small = art.Canvas(lw, lh)
    small.glyphs(0, 0, label, art.SMALL, INK)
    for y in range(lh):
        for x in range(lw):
            if small.px[y][x][3]:
                big.rect(x * scale, y * scale, (x + 1) * scale, (y + 1) * scale, INK)
    top = y0 + fold + edge + dh
    img.blit(big, (size - big.w) // 2, top + (y1 - edge - top - big.h) // 2)
    return img


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: generate_icons.py OUTPUT_FOLDER")
    out = sys.argv[1]
    terminal = terminal_with_menu()
    for size in SIZES:
        for context, name, draw in (("apps", APP_ID, app_icon), ("mimetypes", MIME_ICON, template_icon)):
            folder = os.path.join(out, "hicolor", "%dx%d" % (size, size), context)
            os.makedirs(folder, exist_ok=True)
            art.write_png(os.path.join(folder, name + ".png"), draw(terminal, size))


if __name__ == "__main__":
    main()
