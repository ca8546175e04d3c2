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


def supersampled(w, h, draw_fn):
    """RGBA layer drawn at SS times the size by draw_fn(draw, s) and reduced with a box filter."""
    big = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), SS)
    return big.resize((w, h), Image.BOX)


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

def texture():
    """579 x 21 panel tile: fine grain plus faint horizontal fibres, mean 0x80, wraps both ways."""
    w, h = 579, 21
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


def title_strip():
    """537 x 22 strip: dark slate, lit at the top; white text sits on rows 4..16.

    The panel below overlaps its last two rows, so the dark edge is already at row 19."""
    w, h = 537, 22
    img = vgradient(w, h, [(0, SLATE_TOP), (1, mix(SLATE_TOP, SLATE, 0.45)),
                           (17, SLATE), (18, mix(SLATE, SLATE_DARK, 0.5)),
                           (19, SLATE_DARK), (21, SLATE_DARK)])
    px = img.load()
    for y in range(1, 18):  # the panel's fibres, very faint, so the strip is not plastic-flat
        for x in range(w):
            n = (periodic_noise(x, y, w, 21, 64, 7, 11) - 0.5) * 4
            px[x, y] = tuple(clamp8(c + n) for c in px[x, y])
    return img


def close_face(pressed):
    """15 x 15 close box drawn over the strip where it sits (516, 4), so the corners blend."""
    base = title_strip().crop((516, 4, 531, 19))
    fill = mix(SLATE, SLATE_DARK, 0.75) if pressed else mix(SLATE_TOP, SLATE, 0.2)
    rim = SLATE_DARK if pressed else mix(SLATE_TOP, (255, 255, 255), 0.25)
    cross = (200, 204, 210) if pressed else (255, 255, 255)
    off = 0.5 if pressed else 0.0

    def draw(d, s):
        d.rounded_rectangle([0, 0, 15 * s - 1, 15 * s - 1], radius=3 * s, fill=rim + (255,))
        d.rounded_rectangle([1 * s, 1 * s, 14 * s - 1, 14 * s - 1], radius=2 * s,
                            fill=fill + (255,))
        a, b = 4.5 + off, 10.5 + off
        line(d, s, a, a, b, b, 1.7, cross + (255,))
        line(d, s, a, b, b, a, 1.7, cross + (255,))

    return over(base, supersampled(15, 15, draw))


def heading():
    """95 x 22 group heading: a light raised plate with a slate tab at the left for black text."""
    w, h = 95, 22
    plate = vgradient(w, h, [(0, FACE_LIGHT), (21, (200, 199, 193))])
    pl = plate.load()
    panel = Image.new("RGB", (w, h), PANEL)

    def draw(d, s):
        d.rounded_rectangle([0, 0, w * s - 1, h * s - 1], radius=3 * s, fill=(255, 255, 255, 255))

    shape = supersampled(w, h, draw)
    layer = Image.new("RGBA", (w, h))
    lp, sp = layer.load(), shape.load()
    for y in range(h):
        for x in range(w):
            lp[x, y] = pl[x, y] + (sp[x, y][3],)
    img = over(panel, layer)
    px = img.load()
    # a crisp outline and bevel, drawn per pixel so it stays 1 px
    for y in range(h):
        for x in range(w):
            a = sp[x, y][3]
            if 0 < a < 255 or x in (0, w - 1) or y in (0, h - 1):
                if a > 40:
                    px[x, y] = mix(PANEL, OUTLINE, a / 255)
    for x in range(2, w - 2):
        px[x, 1] = (250, 250, 247)
        px[x, h - 2] = (172, 171, 166)
    for y in range(2, h - 2):
        px[1, y] = (244, 244, 240)
        px[w - 2, y] = (178, 177, 172)
    # slate tab at the left, the accent the title strip sets
    for y in range(3, h - 3):
        for x in range(3, 6):
            px[x, y] = SLATE if x < 5 else mix(SLATE, FACE, 0.35)
    return img


def button(pressed):
    """21 x 20 button face. It is stretched sideways (to 81 px), so the left and right
    columns are the only ones that differ across; the depth is carried by the rows."""
    w, h = 21, 20
    if pressed:
        rows = [(0, (70, 72, 76)), (1, (128, 128, 126)), (2, FACE_DOWN),
                (17, (190, 189, 184)), (18, (198, 197, 192)), (19, (226, 226, 222))]
        left, right = (136, 136, 134), (214, 214, 210)
    else:
        rows = [(0, (246, 246, 243)), (1, (238, 237, 233)), (2, FACE_LIGHT),
                (16, FACE), (17, (196, 195, 190)), (18, (140, 140, 137)), (19, (76, 78, 82))]
        left, right = (242, 242, 239), (158, 158, 155)
    img = vgradient(w, h, rows)
    px = img.load()
    for y in range(1, h - 1):
        px[0, y] = mix(left, px[0, y], 0.2)
        px[w - 1, y] = mix(right, px[w - 1, y], 0.2)
    for (x, y) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        px[x, y] = mix(px[x, y], PANEL, 0.6)  # soften the corners into the panel
    return img


def option_mark(selected):
    """13 x 13 round option mark: a sunken light well, a slate dot when selected."""
    s13 = 13

    def draw(d, s):
        c = 6.5
        disc(d, s, c, c, 6.5, OUTLINE + (255,))
        disc(d, s, c, c, 5.5, (150, 150, 146, 255))  # inner shadow at the top left
        d.ellipse([(c - 5.5 + 0.9) * s, (c - 5.5 + 0.9) * s, (c + 5.5) * s, (c + 5.5) * s],
                  fill=(246, 246, 243, 255))
        if selected:
            disc(d, s, c, c, 3.0, INK + (255,))
            disc(d, s, c - 0.9, c - 0.9, 1.0, (120, 140, 165, 255))

    return over(Image.new("RGB", (s13, s13), PANEL), supersampled(s13, s13, draw))


def switch(on):
    """12 x 12 alarm switch: a lamp in a dark bezel, lit red when the alarm is on."""
    def draw(d, s):
        c = 6.0
        disc(d, s, c, c, 6.0, OUTLINE + (255,))
        disc(d, s, c, c, 5.0, (24, 26, 30, 255))
        if on:
            disc(d, s, c, c, 4.2, (150, 24, 18, 255))
            disc(d, s, c, c - 0.3, 3.5, RED + (255,))
            disc(d, s, c - 1.3, c - 1.5, 1.4, (255, 190, 170, 255))
        else:
            disc(d, s, c, c, 4.2, (70, 52, 50, 255))
            disc(d, s, c - 1.3, c - 1.5, 1.2, (120, 104, 100, 255))

    return over(Image.new("RGB", (12, 12), PANEL), supersampled(12, 12, draw))


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

BITMAPS = [
    ("texture.bmp", texture),
    ("title.bmp", title_strip),
    ("close_up.bmp", lambda: close_face(False)),
    ("close_down.bmp", lambda: close_face(True)),
    ("heading.bmp", heading),
    ("button_off.bmp", lambda: button(False)),
    ("button_on.bmp", lambda: button(True)),
    ("option_off.bmp", lambda: option_mark(False)),
    ("option_on.bmp", lambda: option_mark(True)),
    ("switch_off.bmp", lambda: switch(False)),
    ("switch_on.bmp", lambda: switch(True)),
]


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
    for name, make in BITMAPS:
        img = make()
        pictures.append((name, img))
        write(name, bmp24_bytes(img))
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
