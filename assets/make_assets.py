#!/usr/bin/python3
"""Draws every picture the program embeds and writes it next to this script.

Run it with Debian's python3 (python3-pil) after changing the artwork; the output is
committed, so building the program never needs this script. The output is byte-for-byte
reproducible: noise comes from an integer hash, and the file formats (24-bit BMP,
4-bit ICO, 1-bit CUR) are written here rather than by an image library.

    /usr/bin/python3 assets/make_assets.py [--sheet contact.png]

--sheet also writes an enlarged contact sheet of all pictures for a visual check.
"""
import math
import os
import struct
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))

# One palette for the whole dialog: a neutral grey panel, a dark slate for the title
# strip, light warm greys for raised faces, slate as the accent, red only for "on".
PANEL = (128, 128, 128)
SLATE_TOP = (84, 98, 116)
SLATE = (52, 64, 80)
SLATE_DARK = (30, 37, 47)
FACE_LIGHT = (232, 231, 226)
FACE = (212, 211, 205)
FACE_DOWN = (182, 181, 176)
OUTLINE = (52, 54, 58)
INK = (36, 46, 60)
RED = (214, 48, 36)

SS = 8  # supersampling factor for the shapes drawn with anti-aliasing

# The scales every dialog picture is drawn at, in percent, and the files they go to: at 100 %
# "title.bmp", at 150 % "title@150.bmp". The larger ones are drawn anew at their own pixels
# (shapes, outlines and noise), not enlarged from the 100 % one.
SCALES = (100, 150, 200)


# ---------------------------------------------------------------- helpers

def hash01(*ks):
    """Deterministic value in [0, 1) from integers (no dependency on random's state)."""
    h = 0x9E3779B9
    for k in ks:
        h ^= (k & 0xFFFFFFFF) + 0x7F4A7C15 + ((h << 6) & 0xFFFFFFFF) + (h >> 2)
        h = (h * 0x85EBCA6B) & 0xFFFFFFFF
        h ^= h >> 13
        h = (h * 0xC2B2AE35) & 0xFFFFFFFF
        h ^= h >> 16
    return h / 4294967296.0


def S(n, k):
    """`n` pixels at 100 % at scale `k` (1, 1.5, 2), rounded half up as the program rounds."""
    return int(math.floor(n * k + 0.5))


def scaled_stops(stops, k):
    """Colour stops [(row, colour), ...] given in 100 % rows, for scale `k`: each stop's row
    becomes the rows that one row covers there, so a one-row edge stays a sharp edge."""
    out = []
    for row, c in stops:
        out += [(S(row, k), c), (S(row + 1, k) - 1, c)]
    return out


def smooth(t):
    return t * t * (3 - 2 * t)


def periodic_noise(x, y, w, h, cells_x, cells_y, seed):
    """Value noise on a lattice that wraps at (w, h), so the result tiles seamlessly."""
    u = x * cells_x / w
    v = y * cells_y / h
    i, j = int(math.floor(u)), int(math.floor(v))
    fu, fv = smooth(u - i), smooth(v - j)

    def at(a, b):
        return hash01(seed, a % cells_x, b % cells_y)

    top = at(i, j) * (1 - fu) + at(i + 1, j) * fu
    bottom = at(i, j + 1) * (1 - fu) + at(i + 1, j + 1) * fu
    return top * (1 - fv) + bottom * fv


def clamp8(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(clamp8(a[k] + (b[k] - a[k]) * t) for k in range(3))


def vgradient(w, h, stops):
    """RGB image whose rows follow piecewise-linear colour stops [(row, colour), ...]."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for (y0, c0), (y1, c1) in zip(stops, stops[1:]):
            if y0 <= y <= y1:
                c = mix(c0, c1, 0 if y1 == y0 else (y - y0) / (y1 - y0))
                break
        else:
            c = stops[-1][1]
        for x in range(w):
            px[x, y] = c
    return img


def supersampled(w, h, draw_fn, f=1):
    """RGBA layer drawn at SS times the size by draw_fn(draw, s) and reduced with a box filter.
    draw_fn draws in 100 % units, `f` pixels each: s is SS * f."""
    big = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), SS if f == 1 else SS * f)
    return big.resize((w, h), Image.BOX)


def line_px(f):
    """How many pixels a one-pixel line of the 100 % drawing is at `f` pixels a unit."""
    return max(1, int(math.floor(f + 0.5)))


def over(base, layer):
    out = base.convert("RGBA")
    out.alpha_composite(layer)
    return out.convert("RGB")


def disc(d, s, cx, cy, r, fill):
    d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=fill)


def line(d, s, x0, y0, x1, y1, width, fill):
    d.line([x0 * s, y0 * s, x1 * s, y1 * s], fill=fill, width=max(1, int(round(width * s))))
    disc(d, s, x0, y0, width / 2, fill)
    disc(d, s, x1, y1, width / 2, fill)


# ---------------------------------------------------------------- file writers

def bmp24_bytes(img):
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    px = img.convert("RGB").load()
    rows = []
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def mask_rows(bits, w, h):
    """1-bit rows, bottom-up, each padded to four bytes; bits[y][x] is 0 or 1."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if bits[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image_4bpp(indexes, transparent, palette):
    """DIB of an icon image: header (height doubled), 16-colour palette, XOR, AND."""
    h, w = len(indexes), len(indexes[0])
    stride = ((w * 4 + 31) // 32) * 4
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            v = 0 if transparent[y][x] else indexes[y][x]
            row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += row
    and_ = mask_rows(transparent, w, h)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    head = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(xor) + len(and_), 0, 0, 16, 0)
    return head + pal + bytes(xor) + and_


def ico_bytes(images):
    """images: list of (size, dib). ICO directory followed by the DIBs."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, dib in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(dib), offset)
        offset += len(dib)
    return out + b"".join(dib for _, dib in images)


def cur_bytes(art, hotspot):
    """Monochrome 32 x 32 cursor from ASCII art: 'X' black, 'o' white, anything else clear."""
    h, w = len(art), len(art[0])
    white = [[1 if c == "o" else 0 for c in row] for row in art]
    clear = [[0 if c in "Xo" else 1 for c in row] for row in art]
    xor = mask_rows(white, w, h)
    and_ = mask_rows(clear, w, h)
    pal = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    dib = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    dib += pal + xor + and_
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, hotspot[0], hotspot[1], len(dib), 6 + 16)
    return head + entry + dib


# ---------------------------------------------------------------- dialog pictures
#
# Each takes the scale k (1, 1.5 or 2) and draws at S(n, k) pixels for n at 100 %, the size the
# program lays the picture out at on a screen of that density, so there it is copied 1:1.

def texture(k=1):
    """579 x 21 panel tile at 100 %: fine grain plus faint horizontal fibres, mean 0x80, wraps
    both ways. At a larger scale the same fibres over more pixels, and a grain of its pixels."""
    w, h = S(579, k), S(21, k)
    vals = []
    for y in range(h):
        for x in range(w):
            fibre = periodic_noise(x, y, w, h, 64, 7, 11) - 0.5
            cloud = periodic_noise(x, y, w, h, 6, 1, 23) - 0.5
            grain = hash01(37, x, y) - 0.5
            vals.append(fibre * 4.0 + cloud * 2.0 + grain * 4.0)
    mean = sum(vals) / len(vals)
    img = Image.new("RGB", (w, h))
    img.putdata([(clamp8(128 + v - mean),) * 3 for v in vals])
    return img


def title_strip(k=1):
    """537 x 22 strip at 100 %: dark slate, lit at the top; white text sits on rows 4..16.

    The panel below overlaps its last two rows, so the dark edge is already at row 19."""
    w, h = S(537, k), S(22, k)
    img = vgradient(w, h, scaled_stops([(0, SLATE_TOP), (1, mix(SLATE_TOP, SLATE, 0.45)),
                                        (17, SLATE), (18, mix(SLATE, SLATE_DARK, 0.5)),
                                        (19, SLATE_DARK), (21, SLATE_DARK)], k))
    px = img.load()
    for y in range(S(1, k), S(18, k)):  # the panel's fibres, very faint, so the strip is not plastic-flat
        for x in range(w):
            n = (periodic_noise(x, y, w, S(21, k), 64, 7, 11) - 0.5) * 4
            px[x, y] = tuple(clamp8(c + n) for c in px[x, y])
    return img


def close_face(pressed, k=1):
    """15 x 15 close box drawn over the strip where it sits (516, 4), so the corners blend."""
    n = S(15, k)
    x0, y0 = S(516, k), S(4, k)
    base = title_strip(k).crop((x0, y0, x0 + n, y0 + n))
    fill = mix(SLATE, SLATE_DARK, 0.75) if pressed else mix(SLATE_TOP, SLATE, 0.2)
    rim = SLATE_DARK if pressed else mix(SLATE_TOP, (255, 255, 255), 0.25)
    cross = (200, 204, 210) if pressed else (255, 255, 255)
    off = 0.5 if pressed else 0.0
    f = n / 15
    t = line_px(f) * SS  # the rim, whole pixels wide

    def draw(d, s):
        d.rounded_rectangle([0, 0, n * SS - 1, n * SS - 1], radius=3 * s, fill=rim + (255,))
        d.rounded_rectangle([t, t, n * SS - t - 1, n * SS - t - 1], radius=3 * s - t,
                            fill=fill + (255,))
        a, b = 4.5 + off, 10.5 + off
        line(d, s, a, a, b, b, 1.7, cross + (255,))
        line(d, s, a, b, b, a, 1.7, cross + (255,))

    return over(base, supersampled(n, n, draw, f))


def heading(k=1):
    """95 x 22 group heading: a light raised plate with a slate tab at the left for black text."""
    w, h = S(95, k), S(22, k)
    plate = vgradient(w, h, [(0, FACE_LIGHT), (h - 1, (200, 199, 193))])
    pl = plate.load()
    panel = Image.new("RGB", (w, h), PANEL)

    def draw(d, s):
        d.rounded_rectangle([0, 0, w * SS - 1, h * SS - 1], radius=3 * s, fill=(255, 255, 255, 255))

    shape = supersampled(w, h, draw, k)
    layer = Image.new("RGBA", (w, h))
    lp, sp = layer.load(), shape.load()
    for y in range(h):
        for x in range(w):
            lp[x, y] = pl[x, y] + (sp[x, y][3],)
    img = over(panel, layer)
    px = img.load()
    t = line_px(k)  # a one-pixel line of the 100 % drawing
    if t == 1:
        # a crisp outline and bevel, drawn per pixel so it stays 1 px
        for y in range(h):
            for x in range(w):
                a = sp[x, y][3]
                if 0 < a < 255 or x in (0, w - 1) or y in (0, h - 1):
                    if a > 40:
                        px[x, y] = mix(PANEL, OUTLINE, a / 255)
    else:
        # the outline as the ring between the plate and the plate inset by t pixels, so it is
        # t pixels wide along the sides and round the corners alike
        def inner_draw(d, s):
            d.rounded_rectangle([t * SS, t * SS, (w - t) * SS - 1, (h - t) * SS - 1],
                                radius=3 * s - t * SS, fill=(255, 255, 255, 255))

        ip = supersampled(w, h, inner_draw, k).load()
        for y in range(h):
            for x in range(w):
                a, inner = sp[x, y][3] / 255, ip[x, y][3] / 255
                if a > 40 / 255 and inner < 1:
                    px[x, y] = tuple(clamp8(PANEL[c] * (1 - a) + OUTLINE[c] * (a - inner)
                                            + pl[x, y][c] * inner) for c in range(3))
    for x in range(2 * t, w - 2 * t):
        for y in range(t, 2 * t):
            px[x, y] = (250, 250, 247)
        for y in range(h - 2 * t, h - t):
            px[x, y] = (172, 171, 166)
    for y in range(2 * t, h - 2 * t):
        for x in range(t, 2 * t):
            px[x, y] = (244, 244, 240)
        for x in range(w - 2 * t, w - t):
            px[x, y] = (178, 177, 172)
    # slate tab at the left, the accent the title strip sets
    for y in range(S(3, k), h - S(3, k)):
        for x in range(S(3, k), S(6, k)):
            px[x, y] = SLATE if x < S(5, k) else mix(SLATE, FACE, 0.35)
    return img


def button(pressed, k=1):
    """21 x 20 button face. It is stretched sideways (to 81 px), so the left and right
    columns are the only ones that differ across; the depth is carried by the rows."""
    w, h = S(21, k), S(20, k)
    if pressed:
        rows = [(0, (70, 72, 76)), (1, (128, 128, 126)), (2, FACE_DOWN),
                (17, (190, 189, 184)), (18, (198, 197, 192)), (19, (226, 226, 222))]
        left, right = (136, 136, 134), (214, 214, 210)
    else:
        rows = [(0, (246, 246, 243)), (1, (238, 237, 233)), (2, FACE_LIGHT),
                (16, FACE), (17, (196, 195, 190)), (18, (140, 140, 137)), (19, (76, 78, 82))]
        left, right = (242, 242, 239), (158, 158, 155)
    img = vgradient(w, h, scaled_stops(rows, k))
    px = img.load()
    t = S(1, k)
    for y in range(t, h - t):
        for x in range(t):
            px[x, y] = mix(left, px[x, y], 0.2)
            px[w - 1 - x, y] = mix(right, px[w - 1 - x, y], 0.2)
    for (cx, cy) in ((0, 0), (w - t, 0), (0, h - t), (w - t, h - t)):
        for y in range(cy, cy + t):
            for x in range(cx, cx + t):
                px[x, y] = mix(px[x, y], PANEL, 0.6)  # soften the corners into the panel
    return img


def option_mark(selected, k=1):
    """13 x 13 round option mark: a sunken light well, a slate dot when selected."""
    n = S(13, k)
    f = n / 13
    ring = line_px(f) / f  # the outline, whole pixels wide, in units

    def draw(d, s):
        c = 6.5
        disc(d, s, c, c, 6.5, OUTLINE + (255,))
        r = 6.5 - ring
        disc(d, s, c, c, r, (150, 150, 146, 255))  # inner shadow at the top left
        d.ellipse([(c - r + 0.9) * s, (c - r + 0.9) * s, (c + r) * s, (c + r) * s],
                  fill=(246, 246, 243, 255))
        if selected:
            disc(d, s, c, c, 3.0, INK + (255,))
            disc(d, s, c - 0.9, c - 0.9, 1.0, (120, 140, 165, 255))

    return over(Image.new("RGB", (n, n), PANEL), supersampled(n, n, draw, f))


def switch(on, k=1):
    """12 x 12 alarm switch: a lamp in a dark bezel, lit red when the alarm is on."""
    n = S(12, k)
    f = n / 12
    ring = line_px(f) / f

    def draw(d, s):
        c = 6.0
        disc(d, s, c, c, 6.0, OUTLINE + (255,))
        disc(d, s, c, c, 6.0 - ring, (24, 26, 30, 255))
        if on:
            disc(d, s, c, c, 4.2, (150, 24, 18, 255))
            disc(d, s, c, c - 0.3, 3.5, RED + (255,))
            disc(d, s, c - 1.3, c - 1.5, 1.4, (255, 190, 170, 255))
        else:
            disc(d, s, c, c, 4.2, (70, 52, 50, 255))
            disc(d, s, c - 1.3, c - 1.5, 1.2, (120, 104, 100, 255))

    return over(Image.new("RGB", (n, n), PANEL), supersampled(n, n, draw, f))


# ---------------------------------------------------------------- icon

ICON_PALETTE = [
    (0, 0, 0),        # 0 black; also the colour under the mask
    (24, 26, 30),     # 1 outline
    (58, 62, 70),     # 2
    (100, 104, 110),  # 3
    (150, 152, 156),  # 4
    (196, 196, 194),  # 5
    (226, 224, 216),  # 6 face shade
    (250, 248, 240),  # 7 face
    (255, 255, 255),  # 8
    (36, 48, 66),     # 9 hands
    (82, 98, 122),    # 10
    (200, 40, 30),    # 11 second hand
    (232, 128, 112),  # 12
    (128, 92, 24),    # 13 brass, dark
    (206, 160, 52),   # 14 brass
    (246, 214, 120),  # 15 brass, light
]


def clock_layer(size):
    """RGBA clock: dark rim, light face, hands at ten past ten, a brass bob swinging below."""
    def draw(d, s):
        k = size / 32.0
        cx, cy, r = 16 * k, 13.5 * k, 13.2 * k
        if size >= 32:
            line(d, s, cx, cy + r - 1, cx + 3.2 * k, 28.0 * k, 1.2, ICON_PALETTE[1] + (255,))
            disc(d, s, cx + 3.6 * k, 28.3 * k, 3.6 * k, ICON_PALETTE[1] + (255,))
            disc(d, s, cx + 3.6 * k, 28.3 * k, 2.6 * k, ICON_PALETTE[14] + (255,))
            disc(d, s, cx + 2.9 * k, 27.6 * k, 1.0 * k, ICON_PALETTE[15] + (255,))
        else:
            u = size / 16.0  # the 16 px bob's place, scaled for the 20 and 24 px images
            disc(d, s, 11.2 * u, 14.2 * u, 1.9 * u, ICON_PALETTE[1] + (255,))
            disc(d, s, 11.2 * u, 14.2 * u, 1.0 * u, ICON_PALETTE[14] + (255,))
        rim = 2.0 if size >= 32 else 1.3
        disc(d, s, cx, cy, r, ICON_PALETTE[1] + (255,))
        disc(d, s, cx, cy, r - rim, ICON_PALETTE[6] + (255,))
        disc(d, s, cx - 0.4 * k, cy - 0.5 * k, r - rim - 0.8 * k, ICON_PALETTE[7] + (255,))
        rr = r - rim
        if size >= 32:
            for i in range(12):
                a = i * math.pi / 6
                big = i % 3 == 0
                r0 = rr - (3.0 if big else 1.8) * k
                line(d, s, cx + r0 * math.sin(a), cy - r0 * math.cos(a),
                     cx + (rr - 0.9 * k) * math.sin(a), cy - (rr - 0.9 * k) * math.cos(a),
                     1.6 if big else 1.0, ICON_PALETTE[2 if big else 3] + (255,))
        hw = 3.0 if size >= 32 else 1.5
        hour, minute = math.radians(305), math.radians(60)
        hl, ml = rr * 0.55, rr * 0.82
        line(d, s, cx, cy, cx + hl * math.sin(hour), cy - hl * math.cos(hour), hw,
             ICON_PALETTE[9] + (255,))
        line(d, s, cx, cy, cx + ml * math.sin(minute), cy - ml * math.cos(minute),
             hw * 0.7, ICON_PALETTE[9] + (255,))
        if size >= 32:
            sec = math.radians(200)
            line(d, s, cx - 2.5 * k * math.sin(sec), cy + 2.5 * k * math.cos(sec),
                 cx + rr * 0.85 * math.sin(sec), cy - rr * 0.85 * math.cos(sec), 0.8,
                 ICON_PALETTE[11] + (255,))
            disc(d, s, cx, cy, 1.4 * k, ICON_PALETTE[11] + (255,))
        else:
            disc(d, s, cx, cy, 0.9, ICON_PALETTE[9] + (255,))

    return supersampled(size, size, draw)


ICON_SIZES = (32, 16, 20, 24, 48)


def nearest(c):
    return min(range(16), key=lambda i: sum((c[k] - ICON_PALETTE[i][k]) ** 2 for k in range(3)))


# At 16 px anti-aliased shapes turn to mush, so the small image is placed pixel by pixel:
# a 15 px disc (odd, so the hands start from one centre pixel), ticks at the quarters,
# hands at ten past ten, a red second hand and the brass bob peeking out below right.
ICON16_MARKS = {
    9: [(6, 6), (5, 6), (4, 5), (5, 5)],                     # hour hand
    10: [],
    11: [(7, 8), (6, 9), (6, 10)],                            # second hand
    2: [(8, 6), (9, 6), (10, 5), (11, 4), (9, 5), (7, 7)],    # minute hand and hub
    3: [(7, 2), (12, 7), (7, 12), (2, 7)],                    # quarter ticks
}
ICON16_BOB = {1: [(10, 13), (13, 13), (10, 15), (13, 15), (10, 14), (13, 14), (11, 12), (12, 12)],
              14: [(11, 14), (12, 14), (11, 15), (12, 15)], 15: [(11, 13)], 13: [(12, 13)]}


def icon16_indexes():
    spans = [(5, 9), (3, 11), (2, 12), (1, 13), (1, 13), (0, 14), (0, 14), (0, 14), (0, 14),
             (0, 14), (1, 13), (1, 13), (2, 12), (3, 11), (5, 9)]
    inside = {(x, y) for y, (a, b) in enumerate(spans) for x in range(a, b + 1)}
    idx = [[0] * 16 for _ in range(16)]
    clear = [[1] * 16 for _ in range(16)]
    for (x, y) in inside:
        rim = any((x + dx, y + dy) not in inside for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        shade = (x - 1, y) not in inside or (x, y - 1) not in inside or x + y < 7
        idx[y][x] = 1 if rim else 6 if shade else 7
        clear[y][x] = 0
    for table in (ICON16_BOB, ICON16_MARKS):
        for colour, points in table.items():
            for (x, y) in points:
                if table is ICON16_BOB and (x, y) in inside and idx[y][x] != 1:
                    continue  # the bob hangs behind the face
                idx[y][x] = colour
                clear[y][x] = 0
    return idx, clear


def icon_indexes(size):
    """Palette indexes and mask of one icon image. Half-covered edge pixels are dark, so the
    outline holds on light and on dark taskbars alike."""
    if size == 16:
        return icon16_indexes()
    layer = clock_layer(size)
    px = layer.load()
    idx, clear = [], []
    for y in range(size):
        irow, crow = [], []
        for x in range(size):
            r, g, b, a = px[x, y]
            if a < 110:
                irow.append(0)
                crow.append(1)
                continue
            t = a / 255
            c = tuple(v * t + ICON_PALETTE[1][k] * (1 - t) for k, v in enumerate((r, g, b)))
            irow.append(nearest(c))
            crow.append(0)
        idx.append(irow)
        clear.append(crow)
    return idx, clear


def icon_preview(size):
    idx, clear = icon_indexes(size)
    img = Image.new("RGBA", (size, size))
    img.putdata([(0, 0, 0, 0) if clear[y][x] else ICON_PALETTE[idx[y][x]] + (255,)
                 for y in range(size) for x in range(size)])
    return img


# ---------------------------------------------------------------- cursor

def hand_art():
    """32 x 32 pointing hand, index finger up, its tip at (12, 10).

    Fill regions are laid out here; the 1 px black outline is everything next to a fill."""
    fill = [[0] * 32 for _ in range(32)]

    def rect(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                fill[y][x] = 1

    rect(11, 11, 13, 22)          # index finger
    rect(15, 17, 17, 22)          # middle finger, folded
    rect(19, 18, 21, 22)          # ring finger
    rect(23, 19, 24, 22)          # little finger
    rect(11, 23, 24, 27)          # palm
    rect(12, 28, 23, 28)
    rect(13, 29, 22, 29)
    for i, y in enumerate(range(20, 26)):  # thumb, reaching in from the lower left
        rect(7 + min(i, 3), y, 10, y)
    fill[19][8] = fill[19][9] = 0
    art = []
    for y in range(32):
        row = ""
        for x in range(32):
            if fill[y][x]:
                row += "o"
            elif any(0 <= x + dx < 32 and 0 <= y + dy < 32 and fill[y + dy][x + dx]
                     for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row += "X"
            else:
                row += "."
        art.append(row)
    # separate the thumb from the palm by a crease line
    art[23] = art[23][:10] + "X" + art[23][11:]
    art[22] = art[22][:10] + "X" + art[22][11:]
    return art


HOTSPOT = (12, 10)


def cursor_preview(art):
    img = Image.new("RGBA", (32, 32))
    img.putdata([(0, 0, 0, 255) if c == "X" else (255, 255, 255, 255) if c == "o" else (0, 0, 0, 0)
                 for row in art for c in row])
    return img


# ---------------------------------------------------------------- output

# name, drawing at scale k, and the scales it is drawn at. The texture is a tile laid at its
# own pixels, so one finer tile serves every larger scale: no 150 % one.
BITMAPS = [
    ("texture.bmp", texture, (100, 200)),
    ("title.bmp", title_strip, SCALES),
    ("close_up.bmp", lambda k: close_face(False, k), SCALES),
    ("close_down.bmp", lambda k: close_face(True, k), SCALES),
    ("heading.bmp", heading, SCALES),
    ("button_off.bmp", lambda k: button(False, k), SCALES),
    ("button_on.bmp", lambda k: button(True, k), SCALES),
    ("option_off.bmp", lambda k: option_mark(False, k), SCALES),
    ("option_on.bmp", lambda k: option_mark(True, k), SCALES),
    ("switch_off.bmp", lambda k: switch(False, k), SCALES),
    ("switch_on.bmp", lambda k: switch(True, k), SCALES),
]


def scaled_name(name, scale):
    return name if scale == 100 else name.replace(".bmp", f"@{scale}.bmp")


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def contact_sheet(pictures, path):
    """Every picture 4x on the panel grey and on a dark ground, the stretched buttons at 1x
    and 2x, the texture tiled, and the 16 px icon on dark and light taskbar colours."""
    scale = 4
    sheet = Image.new("RGB", (1240, 1500), (60, 60, 60))
    y = 10
    for bg in (PANEL, (32, 32, 32)):
        band = Image.new("RGB", (1220, 110), bg)
        x = 10
        for name, img in pictures:
            if name in ("texture.bmp", "title.bmp"):
                continue
            band.paste(img.resize((img.width * scale, img.height * scale), Image.NEAREST), (x, 10))
            x += img.width * scale + 12
        sheet.paste(band, (10, y))
        y += 120
    # a dialog-like mock-up at 2x: title, panel tiled with the texture, heading, buttons
    tex = dict(pictures)["texture.bmp"]
    mock = Image.new("RGB", (600, 160))
    for ty in range(0, 160, tex.height):
        for tx in range(0, 600, tex.width):
            mock.paste(tex, (tx, ty))
    mock.paste(dict(pictures)["title.bmp"].crop((0, 0, 537, 22)), (0, 0))
    mock.paste(dict(pictures)["close_up.bmp"], (516, 4))
    mock.paste(dict(pictures)["close_down.bmp"], (496, 4))
    d = ImageDraw.Draw(mock)
    d.text((8, 5), "Tessarine settings", fill=(255, 255, 255))
    mock.paste(dict(pictures)["heading.bmp"], (12, 32))
    d.text((35, 38), "Colours", fill=(0, 0, 0))
    for i, (w, h) in enumerate(((61, 20), (81, 20), (21, 20), (53, 19))):
        for j, name in enumerate(("button_off.bmp", "button_on.bmp")):
            face = dict(pictures)[name].resize((w, h), Image.NEAREST)
            mock.paste(face, (130 + i * 95, 32 + j * 28))
            d.text((130 + i * 95 + w // 2 - 6, 36 + j * 28 + (1 if j else 0)), "OK", fill=(0, 0, 0))
    for i, name in enumerate(("option_off.bmp", "option_on.bmp", "switch_off.bmp", "switch_on.bmp")):
        mock.paste(dict(pictures)[name], (20 + i * 24, 100))
    ico16 = icon_preview(16)
    for i, bg in enumerate(((32, 32, 32), (240, 240, 240))):
        d.rectangle([120 + i * 40, 96, 120 + i * 40 + 31, 127], fill=bg)
        mock.paste(ico16, (128 + i * 40, 104), ico16)
    sheet.paste(mock.resize((1200, 320), Image.NEAREST), (10, y))
    y += 330
    # icons 4x and 1x on dark and light taskbars, cursor 4x
    ico32 = icon_preview(32)
    cur = cursor_preview(hand_art())
    x = 10
    for bg in ((32, 32, 32), (240, 240, 240), PANEL):
        tile = Image.new("RGB", (300, 150), bg)
        tile.paste(ico32.resize((128, 128), Image.NEAREST), (8, 8), ico32.resize((128, 128), Image.NEAREST))
        tile.paste(ico16.resize((64, 64), Image.NEAREST), (150, 8), ico16.resize((64, 64), Image.NEAREST))
        tile.paste(ico32, (150, 90), ico32)
        tile.paste(ico16, (200, 98), ico16)
        tile.paste(cur.resize((64, 64), Image.NEAREST), (226, 8), cur.resize((64, 64), Image.NEAREST))
        sheet.paste(tile, (x, y))
        x += 310
    y += 160
    sheet.crop((0, 0, 1240, y)).save(path)


def main(argv):
    pictures = []
    for name, make, scales in BITMAPS:
        for scale in scales:
            img = make(scale / 100)
            if scale == 100:
                pictures.append((name, img))
            write(scaled_name(name, scale), bmp24_bytes(img))
    # Every size a small or large icon takes at 100 to 200 %, so the system never stretches one.
    write("tessarine.ico", ico_bytes([(s, icon_image_4bpp(*icon_indexes(s), ICON_PALETTE))
                                      for s in ICON_SIZES]))
    art = hand_art()
    assert art[HOTSPOT[1]][HOTSPOT[0]] == "X" and art[HOTSPOT[1] - 1][HOTSPOT[0]] == "."
    write("handpoint.cur", cur_bytes(art, HOTSPOT))
    if len(argv) > 2 and argv[1] == "--sheet":
        contact_sheet(pictures, argv[2])


if __name__ == "__main__":
    main(sys.argv)
