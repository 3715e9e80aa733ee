#!/usr/bin/env python3
"""Draw Tolvane's pictures (icons and the badge bitmap) into res/art/.

Pure standard library. Run from the repo root:  python3 res/art/make_art.py
Every picture is drawn in code: shapes are predicates inside(x, y) that are
sampled several times per pixel, so edges get soft anti-aliased alpha.
Pixel (x, y) covers the square [x, x+1) x [y, y+1); its centre is x+0.5.
"""
import os
import struct

OUT = os.path.dirname(os.path.abspath(__file__))

# Palette
NAVY = (20, 40, 96)
BLUE = (40, 96, 196)
BLUE_LIGHT = (110, 170, 240)
GOLD = (250, 204, 72)
GOLD_LIGHT = (255, 236, 140)
GOLD_DARK = (196, 134, 20)
WHITE = (255, 255, 255)
GREEN = (60, 170, 60)
GREEN_LIGHT = (140, 225, 110)
GREEN_DARK = (20, 100, 30)
GREY = (96, 96, 96)
GREY_LIGHT = (200, 200, 200)
BROWN = (130, 88, 20)
TAN = (222, 190, 130)
SKY = (150, 205, 245)
SKY_LIGHT = (220, 240, 255)

BADGE_BACKGROUND = (240, 240, 240)  # colour behind the badge's round corners


# ---------------------------------------------------------------- canvas

class Canvas:
    """RGBA image, straight (not premultiplied) alpha, channels as floats."""

    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[tuple(float(c) for c in bg) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, rgb, a):
        """Composite colour rgb with opacity a over pixel (x, y)."""
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        r0, g0, b0, a0 = self.px[y][x]
        a1 = a + a0 * (1 - a)
        mix = [(c * a + d * a0 * (1 - a)) / a1 for c, d in zip(rgb, (r0, g0, b0))]
        self.px[y][x] = (mix[0], mix[1], mix[2], a1)

    def fill(self, inside, paint, alpha=1.0, ss=4):
        """Paint where inside(x, y) holds. paint is an RGB tuple or a function
        (x, y) -> RGB, for gradients. ss x ss samples per pixel."""
        for y in range(self.h):
            for x in range(self.w):
                hits = sum(inside(x + (i + 0.5) / ss, y + (j + 0.5) / ss)
                           for i in range(ss) for j in range(ss))
                if hits:
                    rgb = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                    self.blend(x, y, rgb, alpha * hits / (ss * ss))

    def rect(self, x0, y0, x1, y1, rgb):
        """Crisp rectangle of whole pixels, x0..x1 and y0..y1 inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.blend(x, y, rgb, 1.0)

    def bytes(self, x, y):
        r, g, b, a = self.px[y][x]
        return tuple(int(round(min(255.0, max(0.0, v)))) for v in (r, g, b, a * 255))


# ---------------------------------------------------------------- shapes

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(pts):
    """Even-odd point-in-polygon test."""
    def inside(x, y):
        hit = False
        for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def rrect(x0, y0, x1, y1, r):
    """Rectangle with round corners of radius r."""
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def stroke(pts, width, closed=True):
    """Line through pts, width pixels wide."""
    segs = list(zip(pts, pts[1:] + pts[:1])) if closed else list(zip(pts, pts[1:]))
    half2 = (width / 2) ** 2

    def inside(x, y):
        for (x0, y0), (x1, y1) in segs:
            dx, dy = x1 - x0, y1 - y0
            t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)
            t = max(0.0, min(1.0, t))
            if (x0 + t * dx - x) ** 2 + (y0 + t * dy - y) ** 2 <= half2:
                return True
        return False
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def scaled(shape, s):
    """Shape drawn in unit coordinates (0..1), used on an s x s canvas."""
    return lambda x, y: shape(x / s, y / s)


def vgrad(top, bottom, y0, y1):
    """Vertical gradient from colour top at y0 to colour bottom at y1."""
    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


def star4(cx, cy, r, w, light, dark, c):
    """Four-pointed compass star: each point split into a light and a dark half."""
    for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
        tip = (cx + dx * r, cy + dy * r)
        side_a = (cx - dy * w, cy + dx * w)   # left of the point's direction
        side_b = (cx + dy * w, cy - dx * w)
        c.fill(polygon([(cx, cy), tip, side_a]), light)
        c.fill(polygon([(cx, cy), tip, side_b]), dark)


# ---------------------------------------------------------------- pictures

# Program icon at 16 px, drawn pixel by pixel so the star stays crisp (a
# 15 px disc centred on pixel 7, 7). n = navy rim and centre, b = blue disc,
# G = gold axis of each point, L / D = its light and dark halves.
TOL16 = [
    ".....nnnnn......",
    "...nnbbGbbnn....",
    "..nbbbbGbbbbn...",
    ".nbbbbLGDbbbbn..",
    ".nbbbbLGDbbbbn..",
    "nbbbbDLGDLbbbbn.",
    "nbbDDDDGLLLLbbn.",
    "nGGGGGGnGGGGGGn.",
    "nbbLLLLGDDDDbbn.",
    "nbbbbLDGLDbbbbn.",
    ".nbbbbDGLbbbbn..",
    ".nbbbbDGLbbbbn..",
    "..nbbbbGbbbbn...",
    "...nnbbGbbnn....",
    ".....nnnnn......",
    "................",
]


def from_map(rows, palette):
    """Canvas from a character map; palette values are RGB or (x, y) -> RGB."""
    c = Canvas(len(rows[0]), len(rows))
    for y, line in enumerate(rows):
        for x, ch in enumerate(line):
            if ch in palette:
                paint = palette[ch]
                c.blend(x, y, paint(x + 0.5, y + 0.5) if callable(paint) else paint, 1.0)
    return c


def tolvane(s):
    """Program icon: a compass rose -- gold four-pointed star, each point
    split into a light and a dark half, on a blue disc. From 32 px up: a gold
    ring, pale diagonal points and a thin inner ring."""
    if s == 16:
        return from_map(TOL16, {'n': NAVY, 'b': vgrad(BLUE_LIGHT, BLUE, 1, 14),
                                'G': GOLD, 'L': GOLD_LIGHT, 'D': GOLD_DARK})
    c = Canvas(s, s)
    px = 1.0 / s                                    # one pixel in unit coords
    c.fill(scaled(circle(0.5, 0.5, 0.5), s), NAVY)
    c.fill(scaled(circle(0.5, 0.5, 0.5 - px), s), GOLD_DARK)
    c.fill(scaled(circle(0.5, 0.5, 0.5 - 0.06), s), vgrad(BLUE_LIGHT, NAVY, 0, s))
    c.fill(scaled(minus(circle(0.5, 0.5, 0.30), circle(0.5, 0.5, 0.30 - px)), s),
           GOLD_LIGHT, alpha=0.6)
    k = 0.707
    for dx, dy in ((k, k), (k, -k), (-k, k), (-k, -k)):
        tip = (0.5 + dx * 0.36, 0.5 + dy * 0.36)
        c.fill(scaled(polygon([(0.5 + dy * 0.07, 0.5 - dx * 0.07), tip,
                               (0.5 - dy * 0.07, 0.5 + dx * 0.07)]), s),
               (205, 222, 250))
    star4(0.5 * s, 0.5 * s, 0.47 * s, 0.12 * s, GOLD_LIGHT, GOLD_DARK, c)
    c.fill(circle(s / 2, s / 2, s * 0.045), NAVY)
    return c


def run_icon():
    """Run: a green 'play' arrow pointing right, dark green rim, lit from above."""
    c = Canvas(16, 16)
    tri = [(3.5, 1.5), (14.5, 8.0), (3.5, 14.5)]
    c.fill(polygon(tri), vgrad(GREEN_LIGHT, GREEN_DARK, 2, 14))
    c.fill(stroke(tri, 1.1), GREEN_DARK)
    c.fill(polygon([(4.6, 3.4), (9.5, 6.3), (4.6, 6.3)]), WHITE, alpha=0.35)  # shine
    return c


def about_icon():
    """About: a white 'i' on a blue circle."""
    c = Canvas(16, 16)
    c.fill(circle(8, 8, 8), NAVY)
    c.fill(circle(8, 8, 7), vgrad(BLUE_LIGHT, BLUE, 2, 14))
    c.rect(7, 3, 8, 4, WHITE)      # dot
    c.rect(7, 6, 8, 11, WHITE)     # stem
    c.rect(6, 6, 6, 6, WHITE)      # serif top left
    c.rect(6, 12, 9, 12, WHITE)    # foot
    return c


def browse_icon():
    """Browse: an open yellow folder, a sheet of paper peeking out."""
    c = Canvas(16, 16)
    back = [(0.5, 3.5), (5.5, 3.5), (6.5, 4.5), (12.5, 4.5), (12.5, 13.5), (0.5, 13.5)]
    c.fill(polygon(back), GOLD_DARK)
    c.fill(stroke(back, 1), BROWN)
    paper = [(2.5, 5.5), (10.5, 5.5), (10.5, 10), (2.5, 10)]
    c.fill(polygon(paper), WHITE)
    c.fill(stroke(paper, 1), (150, 150, 150))
    front = [(3.5, 7.5), (15.5, 7.5), (12.5, 13.5), (0.5, 13.5)]
    c.fill(polygon(front), vgrad(GOLD_LIGHT, GOLD, 8, 13))
    c.fill(stroke(front, 1), BROWN)
    return c


def view_tile(c, x, y, size):
    """A small square item for the list-view pictures: dark rim, blue inside."""
    c.rect(x, y, x + size - 1, y + size - 1, NAVY)
    if size > 2:
        c.rect(x + 1, y + 1, x + size - 2, y + size - 2, BLUE_LIGHT)


def large_icons_icon():
    """Large icons view: four big squares in a 2 x 2 grid."""
    c = Canvas(16, 16)
    for x in (1, 9):
        for y in (1, 9):
            view_tile(c, x, y, 6)
            c.rect(x + 1, y + 1, x + 2, y + 1, WHITE)   # glint
    return c


def small_icons_icon():
    """Small icons view: a 3 x 3 grid of small squares, a label line under each."""
    c = Canvas(16, 16)
    for x in (1, 6, 11):
        for y in (1, 6, 11):
            view_tile(c, x, y, 3)
            c.rect(x, y + 4, x + 3, y + 4, GREY)
    return c


def list_icon():
    """List view: two columns of rows, each row a small square and a text line."""
    c = Canvas(16, 16)
    for x in (0, 8):
        for y in (1, 5, 9, 13):
            view_tile(c, x, y, 3)
            c.rect(x + 4, y + 1, x + 6, y + 1, GREY)
    return c


def details_icon():
    """Details view: a header bar, then rows split into columns by grid lines."""
    c = Canvas(16, 16)
    c.rect(0, 0, 15, 1, GREY_LIGHT)
    c.rect(0, 2, 15, 2, GREY)
    for x in (8, 12):                       # column separators
        c.rect(x, 0, x, 15, (170, 170, 170))
    for y in (4, 8, 12):
        view_tile(c, 0, y, 3)
        c.rect(4, y + 1, 7, y + 1, GREY)    # name
        c.rect(9, y + 1, 11, y + 1, GREY)   # size
        c.rect(13, y + 1, 15, y + 1, GREY)  # date
        c.rect(0, y + 3, 15, y + 3, (200, 200, 200))  # row line
    return c


def zone_icon(s):
    """Zone: a landscape map tile -- sky and sun, two green hills, a sandy path
    winding from the front up to the horizon."""
    c = Canvas(s, s)
    p = 1.0 / s
    tile = rrect(0, 0, 1, 1, 0.14)
    inner = rrect(p, p, 1 - p, 1 - p, 0.14 - p)
    c.fill(scaled(tile, s), GREEN_DARK)
    c.fill(scaled(inner, s), vgrad(SKY, SKY_LIGHT, 0, s * 0.6))
    c.fill(scaled(both(inner, circle(0.74, 0.26, 0.12)), s), GOLD)
    c.fill(scaled(both(inner, circle(0.22, 1.05, 0.55)), s),
           vgrad((70, 150, 70), GREEN_DARK, s * 0.5, s))
    c.fill(scaled(both(inner, circle(0.95, 1.25, 0.72)), s),
           vgrad(GREEN_LIGHT, GREEN, s * 0.5, s))
    path = [(0.30, 1.0), (0.66, 1.0), (0.60, 0.86), (0.74, 0.72), (0.74, 0.57),
            (0.65, 0.57), (0.60, 0.70), (0.40, 0.84)]
    c.fill(scaled(both(inner, polygon(path)), s), TAN)
    c.fill(scaled(minus(tile, inner), s), GREEN_DARK)
    return c


# ---------------------------------------------------------------- badge

FONT = {  # 5 x 7 letters
    'T': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    'O': [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    'L': ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    'V': ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    'A': [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    'N': ["#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"],
    'E': ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
}


def text(c, s, x, y, scale, rgb, gap=1):
    """Write s in FONT, each dot scale x scale pixels, gap pixels between letters."""
    for ch in s:
        for row, line in enumerate(FONT[ch]):
            for col, bit in enumerate(line):
                if bit == '#':
                    c.rect(x + col * scale, y + row * scale,
                           x + col * scale + scale - 1, y + row * scale + scale - 1, rgb)
        x += 5 * scale + gap


def badge():
    """Badge: 'TOLVANE' in a blocky pixel font on a glossy blue rounded
    button, a little gold compass star at each end."""
    w, h = 110, 36
    c = Canvas(w, h, BADGE_BACKGROUND + (1,))
    body = rrect(0, 0, w, h, 9)
    c.fill(body, vgrad((90, 160, 240), (20, 70, 160), 0, h))
    c.fill(both(body, rrect(2, 2, w - 2, h / 2, 7)), WHITE, alpha=0.3)  # gloss
    c.fill(minus(body, rrect(1, 1, w - 1, h - 1, 8)), NAVY)
    for cx in (9, w - 9):
        star4(cx, h / 2, 5, 1.8, GOLD_LIGHT, GOLD_DARK, c)
    tw = 7 * (5 * 2 + 1) - 1
    x0, y0 = (w - tw) // 2, (h - 14) // 2
    text(c, "TOLVANE", x0 + 1, y0 + 1, 2, NAVY)   # shadow
    text(c, "TOLVANE", x0, y0, 2, WHITE)
    return c


# ---------------------------------------------------------------- writers

def ico_image(c):
    """One icon image: BITMAPINFOHEADER (height doubled), 32 bpp BGRA rows
    bottom-up, then the 1 bpp AND mask (1 = transparent), rows padded to 4."""
    xor = bytearray()
    mask = bytearray()
    stride = (c.w + 31) // 32 * 4
    for y in reversed(range(c.h)):
        row = bytearray(stride)
        for x in range(c.w):
            r, g, b, a = c.bytes(x, y)
            if a == 0:
                r = g = b = 0
                row[x // 8] |= 0x80 >> (x % 8)
            xor += bytes((b, g, r, a))
        mask += row
    head = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return head + bytes(xor) + bytes(mask)


def write_ico(name, canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(out + b''.join(images))


def write_bmp(name, c):
    """24-bit BMP, rows bottom-up, each padded to 4 bytes."""
    stride = (c.w * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(c.h)):
        row = bytearray()
        for x in range(c.w):
            r, g, b, _ = c.bytes(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(head + info + bytes(pixels))


def main():
    write_ico('TOL.ico', [tolvane(16), tolvane(32), tolvane(48)])
    write_ico('Run.ico', [run_icon()])
    write_ico('About.ico', [about_icon()])
    write_ico('Browse.ico', [browse_icon()])
    write_ico('LargeIcons.ico', [large_icons_icon()])
    write_ico('SmallIcons.ico', [small_icons_icon()])
    write_ico('List.ico', [list_icon()])
    write_ico('Details.ico', [details_icon()])
    write_ico('Zone16.ico', [zone_icon(16)])
    write_ico('Zone32.ico', [zone_icon(32)])
    write_bmp('Badge.bmp', badge())


if __name__ == '__main__':
    main()
