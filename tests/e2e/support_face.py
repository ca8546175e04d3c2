"""Reading the clock's face from a screenshot: the dial's scale, hands, numerals, the
pendulum's bob, and the time of day a shot was taken at."""

from __future__ import annotations

import math
import time
from pathlib import Path

import pytest


from harness import DESKTOP_RGB
from support_clock import BLUE, GREEN, RED, YELLOW, colour_value


DIAL = 80  # the dial box: the window's top-left 80 x 80 pixels


# The pendulum area's rows down to where the window's rounded bottom corners begin.
PEND_TOP, PEND_BOTTOM = 84, 130


def clock_ini(face=(0, 0, 0), pendulum=(128, 128, 0), shape: int = 0) -> dict:
    return {"Color_0": colour_value(face), "Color_1": colour_value(YELLOW),
            "Color_2": colour_value(RED), "Color_3": colour_value(GREEN),
            "Color_4": colour_value(BLUE), "Color_5": colour_value(pendulum), "Shape": shape}


SHAPE_RATIOS = {0: (1, 1, 1, 1), 1: (1.5, 1, 1.5, 1), 2: (1, 1.3, 1, 1.3)}


class DialScale:
    """Dial units to pixel coordinates of the 80 x 80 box, for one shape's ratios. Integer
    coordinates name pixel centres: a point is drawn at pixel floor(coordinate + 0.5)."""

    def __init__(self, shape: int):
        r0, r1, r2, r3 = SHAPE_RATIOS[shape]
        self.left, self.top = -10 * r0, -10 * r1
        self.width, self.height = 10 * (r0 + r2), 10 * (r1 + r3)

    def x(self, u: float) -> float:
        return (u - self.left) * DIAL / self.width

    def y(self, v: float) -> float:
        return (v - self.top) * DIAL / self.height

    def point(self, u: float, v: float) -> tuple:
        return self.x(u), self.y(v)


class Shots:
    """Screenshots of one clock window, each saved as a PNG."""

    def __init__(self, clock, folder: Path, name: str):
        self.clock = clock
        self.folder = folder
        self.name = name
        self.count = 0
        self.region = None

    def take(self):
        if self.region is None:
            self.region = self.clock.geometry()
        image = self.clock.screenshot(self.region)
        self.count += 1
        path = self.folder / f"{self.name}-{self.count}.png"
        image.save(path)
        return image, path

    def settled(self, timeout: float = 5.0):
        """A screenshot once the window has its place and size and the dial and the
        pendulum area are painted (no longer show the desktop). Later shots keep that place."""
        end = time.monotonic() + timeout
        while True:
            self.region = self.clock.geometry()
            image, path = self.take()
            painted = (image.getpixel((40, 20)) != DESKTOP_RGB
                       and image.getpixel((40, PEND_TOP + 2)) != DESKTOP_RGB)
            if (painted and tuple(self.region[2:]) == (81, 137)) or time.monotonic() > end:
                return image, path
            time.sleep(0.1)

    def within_one_second(self, not_before: float = 0.0, attempts: int = 5):
        """(image, path, local time) with the shot taken well inside one wall-clock second:
        0.35 s in, past the program's 100 ms tick and its repaint, and finished before the
        next second. That second is later than the one `not_before` (a time.time() value)
        falls in."""
        for _ in range(attempts):
            now = time.time()
            start = math.floor(now) + 0.35
            if start < now:
                start += 1
            while math.floor(start) <= math.floor(not_before):
                start += 1
            time.sleep(start - now)
            t1 = time.time()
            image, path = self.take()
            t2 = time.time()
            if math.floor(t1) == math.floor(t2):
                return image, path, time.localtime(t1)
        pytest.fail(f"no screenshot fitted inside one second in {attempts} attempts")

    def showing_time(self, shape: int, not_before: float = 0.0, timeout: float = 10.0,
                     ring=BLUE):
        """(image, path, local time) of a shot and the second its ring shows: one of the
        seconds from two before the shot to the shot's own (a loaded machine repaints late),
        later than the one `not_before` (a time.time() value) falls in."""
        end = time.monotonic() + timeout
        while True:
            first = max(time.time() - 2, math.floor(not_before) + 1)
            image, path = self.take()
            t = drawn_time(image, DialScale(shape), ring, first, time.time())
            if t is not None:
                return image, path, t
            if time.monotonic() > end:
                pytest.fail(f"no shot showed the ring of a second after {not_before} in {path}")
            time.sleep(0.1)


def segment_distance(p, a, b) -> float:
    (px, py), (ax, ay), (bx, by) = p, a, b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixels_of(image, rgb) -> list:
    """The dial's pixels of exactly this colour."""
    return [(x, y) for y in range(DIAL) for x in range(DIAL) if image.getpixel((x, y)) == rgb]


def face_level(rgb, base):
    """The first i whose ring colour, base + 6i capped at 255, is the pixel's; None when
    the pixel has none of them (a hand or a numeral)."""
    for i in range(41):
        if all(min(b + 6 * i, 255) == v for b, v in zip(base, rgb)):
            return i
    return None


def is_numeral(rgb) -> bool:
    """Yellow, or a yellow blended into the grey face; not a pure hand colour."""
    r, g, b = rgb
    return r - b > 60 and g - b > 60 and abs(r - g) < 40


def components(pixels) -> list:
    """8-connected groups of pixels, each as a list."""
    left = set(pixels)
    groups = []
    while left:
        stack = [left.pop()]
        group = []
        while stack:
            x, y = stack.pop()
            group.append((x, y))
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    q = (x + dx, y + dy)
                    if q in left:
                        left.remove(q)
                        stack.append(q)
        groups.append(group)
    return groups


def bbox(pixels):
    xs = [x for x, _ in pixels]
    ys = [y for _, y in pixels]
    return min(xs), min(ys), max(xs), max(ys)


def ring_centre(image):
    """The centre of the second ring (its blue) in a shot of the dial; None without one."""
    ring = pixels_of(image, BLUE)
    if not ring:
        return None
    x0, y0, x1, y1 = bbox(ring)
    return (x0 + x1) / 2, (y0 + y1) / 2


def grabs_around(app, boundary: float, after: float, stop_on_move: bool = False) -> list:
    """(start, end, ring centre) of shots of the dial taken as fast as the screen can be read,
    from 0.3 s before the second `boundary` (a time.time()) to `after` s past it; with
    `stop_on_move`, only until a shot begun after the boundary shows the ring moved."""
    while time.time() < boundary - 0.3:
        time.sleep(0.01)
    grabs = []
    while time.time() < boundary + after:
        start = time.time()
        image = app.display.grab(app.window).crop((0, 0, DIAL, DIAL))
        grabs.append((start, time.time(), ring_centre(image)))
        if stop_on_move and start >= boundary and grabs[-1][2] != grabs[0][2]:
            break
    return grabs


# Each numeral and its place in dial units, 8 out from the centre.
NUMERALS = [(str(n), 8 * math.sin(n * math.pi / 6), -8 * math.cos(n * math.pi / 6))
            for n in range(1, 13)]


def hand_angles(t: time.struct_time) -> tuple:
    h, m, s = t.tm_hour, t.tm_min, t.tm_sec
    two_pi, half_pi = 6.28318530717958, 1.570796326794895
    return ((m / 60 + h) * two_pi / 12 - half_pi,
            (s / 60 + m) * two_pi / 60 - half_pi,
            s * two_pi / 60 - half_pi)


def hands_at(t: time.struct_time, scale: DialScale) -> tuple:
    """The hands drawn for local time `t`, in pixels of the dial box: the hour and minute
    hands as (tail, tip), each a line from one unit behind the centre, and the second ring
    as (centre, x radius, y radius)."""
    hour, minute, second = hand_angles(t)

    def kite(angle, length):
        return (scale.point(-math.cos(angle), -math.sin(angle)),
                scale.point(math.cos(angle) * length, math.sin(angle) * length))
    ring = (scale.point(math.cos(second) * 8, math.sin(second) * 8),
            1.8 * DIAL / scale.width, 1.8 * DIAL / scale.height)
    return kite(hour, 6), kite(minute, 8), ring


def ring_distance(p, ring) -> float:
    (cx, cy), rx, ry = ring
    return abs(math.hypot((p[0] - cx) / rx, (p[1] - cy) / ry) - 1) * min(rx, ry)


def covered(p, t, scale, hands=("hour", "minute", "ring"), margin: float = 2) -> bool:
    """Whether one of `hands` drawn for time `t` passes within `margin` pixels of `p`."""
    hour, minute, ring = hands_at(t, scale)
    return (("hour" in hands and segment_distance(p, *hour) <= margin)
            or ("minute" in hands and segment_distance(p, *minute) <= margin)
            or ("ring" in hands and ring_distance(p, ring) <= margin))


def drawn_time(image, scale, ring_rgb, first: float, last: float):
    """The local time, among the whole seconds from `first` to `last` (time.time() values),
    whose second ring the dial box `image` shows in `ring_rgb`; None when none fits."""
    ring = pixels_of(image, ring_rgb)
    if not ring:
        return None
    x0, y0, x1, y1 = bbox(ring)
    for second in range(math.floor(last), math.floor(first) - 1, -1):
        t = time.localtime(second)
        (cx, cy), _, _ = hands_at(t, scale)[2]
        if abs((x0 + x1) / 2 - cx) <= 1 and abs((y0 + y1) / 2 - cy) <= 1:
            return t
    return None


def numeral_boxes(image, scale, t) -> dict:
    """The ink box (x0, y0, x1, y1) of each numeral in the dial box `image`, or None where it
    has no ink, for the numerals that no hand drawn at time `t` can reach (a hand over a glyph
    changes its box) anywhere in the rows and columns its digits may take."""
    ink = [(x, y) for y in range(DIAL) for x in range(DIAL) if is_numeral(image.getpixel((x, y)))]
    glyphs = [(bbox(g), g) for g in components(ink)]
    found = {}
    for text, u, v in NUMERALS:
        cx, cy = scale.point(u, v)
        # A digit is at most 8 pixels wide and 14 high.
        half_width = 4 * len(text) + 1
        reach = [(x, y) for x in range(math.floor(cx - half_width), math.ceil(cx + half_width) + 1)
                 for y in range(math.floor(cy - 8), math.ceil(cy + 8) + 1)]
        if any(covered(p, t, scale) for p in reach):
            continue
        # Its digits: glyphs centred within its width and a few rows of its place (the
        # neighbouring numbers sit at least 4 rows higher or lower).
        mine = [g for (x0, y0, x1, y1), g in glyphs
                if abs((x0 + x1) / 2 - cx) <= 3.5 * len(text) + 0.5 and abs((y0 + y1) / 2 - cy) <= 3]
        found[text] = bbox([p for g in mine for p in g]) if mine else None
    return found


def misplaced(boxes: dict, scale: DialScale, tolerance: float) -> list:
    """(numeral, ink box) of each numeral of `boxes` with no ink or not centred on its place,
    or of a size no glyph has: a digit a few pixels wide and about a line high, whatever the
    stretch."""
    places = {text: scale.point(u, v) for text, u, v in NUMERALS}
    return [(text, box) for text, box in boxes.items()
            if box is None or abs((box[0] + box[2]) / 2 - places[text][0]) > tolerance
            or abs((box[1] + box[3]) / 2 - places[text][1]) > tolerance
            or not 6 <= box[3] - box[1] + 1 <= 14
            or not 3 * len(text) <= box[2] - box[0] + 1 <= 8 * len(text)]


def bob_centre(image, background):
    """Centre (x, y in window pixels) and pixel count of what differs from the background in
    the pendulum area."""
    bob = [(x, y) for y in range(PEND_TOP, PEND_BOTTOM) for x in range(DIAL)
           if image.getpixel((x, y)) != background]
    if not bob:
        return None, 0, []
    return (sum(x for x, _ in bob) / len(bob), sum(y for _, y in bob) / len(bob)), len(bob), bob


def corner_pixels():
    """Pixels of the dial box outside the face disc and inside the window's rounded outline."""
    for y in range(DIAL):
        for x in range(DIAL):
            outside_disc = math.hypot(x - 40, y - 40) > 41.5
            in_corner = (x < 8 or x > DIAL - 9) and (y < 8 or y > DIAL - 9)
            if outside_disc and not in_corner:
                yield x, y
