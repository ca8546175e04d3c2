"""The clock as it is seen on the screen: the shaded face, the numerals on each dial shape,
the hands at the current time, the swinging bob and the dial box's corners.

Colours come from the INI, chosen so that every part can be told apart by its pixels: the
hands are pure red, green and blue (lines and rings are drawn without smoothing, so their
pixels are exact), the numerals yellow, the face grey (or tinted by Color_0).

The hands are compared with the test process's own local time, at the second the shot's ring
shows (a loaded machine repaints late); what a hand can cover at that second is left out of
the other checks. Wine derives the program's local time from the same TZ and /etc/localtime
as this process, so both read one clock.

Every screenshot is saved as a PNG in the test's tmp_path; failure messages name the file.
"""

from __future__ import annotations

import math
import time

import pytest

from support_clock import BLUE, GREEN, RED
from support_face import (NUMERALS, PEND_TOP, DialScale, Shots, bbox, bob_centre, clock_ini,
                          corner_pixels, covered, face_level, hands_at, is_numeral, misplaced,
                          numeral_boxes, pixels_of, ring_distance, segment_distance)


# --------------------------------------------------------------------------- 1. face shading


@pytest.mark.parametrize("base", [(0, 0, 0), (0, 0, 128), (100, 30, 60)],
                         ids=["black", "dark-blue", "plum"])
def test_face_brightens_from_rim_to_centre(app, tmp_path, base):
    clock = app.start(ini=clock_ini(face=base))
    image, path = Shots(clock, tmp_path, "face").settled()
    check_shading(image, path, base)


def check_shading(image, path, base):
    # Each ring colour is drawn as a disc of radius 40 - i round (40, 40), so a pixel at
    # distance d shows ring about 40 - d. Along the four diagonals (between the numerals),
    # pixels of a hand or a numeral are left out. At some times of day a hand lies along a
    # diagonal; three hands hide at most three of the four, so one must be nearly whole.
    whole = 0
    for sx, sy in ((1, 1), (1, -1), (-1, 1), (-1, -1)):
        samples = []
        for t in range(1, 28):  # 27 * sqrt(2) = 38.2 px
            x, y = 40 + sx * t, 40 + sy * t
            rgb = image.getpixel((x, y))
            level = face_level(rgb, base)
            where = f"diagonal ({sx}, {sy}) in {path}"
            if level is not None:
                samples.append((math.hypot(x - 40, y - 40), level, rgb))
            else:
                assert rgb in (RED, GREEN, BLUE) or is_numeral(rgb), \
                    f"{rgb} at ({x}, {y}) on the {where}"
        whole += len(samples) >= 18
        for d, level, rgb in samples:
            assert abs(level - (40 - d)) <= 1.5, f"{rgb} at distance {d:.1f} on the {where}"
        levels = [level for _, level, _ in samples]
        assert levels == sorted(levels, reverse=True), f"not brightening inwards on the {where}"
    assert whole >= 1, f"every diagonal hidden by hands in {path}"

    # The rim, all round: Color_0 itself or the next ring.
    rim = [(round(40 + 39.3 * math.cos(math.radians(a))),
            round(40 + 39.3 * math.sin(math.radians(a)))) for a in range(0, 360, 5)]
    rim_levels = [face_level(image.getpixel(p), base) for p in rim]
    assert sum(level is not None for level in rim_levels) >= 50, f"rim not face-coloured in {path}"
    assert all(level <= 1 for level in rim_levels if level is not None), \
        f"rim brighter than Color_0 in {path}: {[image.getpixel(p) for p in rim]}"

    # The centre: Color_0 + 240, capped. The centre pixel itself lies under the hands, and
    # the two innermost discs (radius 1 and 0) cover little else, so the brightest ring to be
    # seen round it is at most two steps short.
    around = [image.getpixel((40 + dx, 40 + dy)) for dx in range(-2, 3) for dy in range(-2, 3)]
    brightest = max(around, key=lambda p: face_level(p, base) or -1)
    centre = tuple(min(c + 240, 255) for c in base)
    assert (face_level(brightest, base) or 0) >= 38, \
        f"centre {brightest} in {path}, expected about {centre}"
    assert all(abs(a - b) <= 12 for a, b in zip(brightest, centre)), path


# --------------------------------------------------------------------------- 2. numerals


@pytest.mark.parametrize("shape", [0, 1, 2])
def test_numerals_sit_on_the_dial_scale(app, tmp_path, shape):
    clock = app.start(ini=clock_ini(shape=shape))
    shots = Shots(clock, tmp_path, f"numerals-shape{shape}")
    shots.settled()
    image, path, now = shots.showing_time(shape)
    check_numerals(image, path, now, shape)


def check_numerals(image, path, now, shape):
    """The numerals that no hand can reach at `now` (each hand reaches two at most) are
    centred on their places on the shape's scale, at their pixel size."""
    scale = DialScale(shape)
    boxes = numeral_boxes(image, scale, now)
    assert boxes, f"every numeral under a hand at {now} in {path}"
    wrong = misplaced(boxes, scale, 1.5)
    assert not wrong, (f"numerals inked over {wrong} in {path}, expected centred on "
                       f"{[(t, scale.point(u, v)) for t, u, v in NUMERALS]}")


# --------------------------------------------------------------------------- 3. hands


@pytest.mark.parametrize("shape", [0, 1, 2])
def test_hands_show_the_current_time(app, tmp_path, shape):
    clock = app.start(ini=clock_ini(shape=shape))
    shots = Shots(clock, tmp_path, f"hands-shape{shape}")
    shown = time.time()
    shots.settled()
    # A second later than the one the window appeared in, so that the hands have been
    # redrawn over the face at least once.
    image, path, now = shots.showing_time(shape, not_before=shown)
    check_hands(image, path, now, shape)


def check_hands(image, path, now, shape):
    """The hour and minute hands of `now` and nothing else in their colours, each drawn to its
    tip wherever a later hand leaves it visible; the second ring at its place and size."""
    stamp = time.strftime("%H:%M:%S", now)
    scale = DialScale(shape)
    hour, minute, ring = hands_at(now, scale)
    centre = scale.point(0, 0)
    for name, rgb, (tail, tip) in (("hour", RED, hour), ("minute", GREEN, minute)):
        later = ("minute", "ring") if name == "hour" else ("ring",)

        def hidden(p) -> bool:
            return covered(p, now, scale, later)

        # Every pixel of the hand's colour lies on the hand as drawn for this second: a hand
        # for another time, or one left over from an earlier second, would show elsewhere.
        found = pixels_of(image, rgb)
        stray = [p for p in found if segment_distance(p, tail, tip) > 1.5]
        assert not stray, (f"{name} hand at {stamp}: expected from {tail} to {tip}; "
                           f"{len(found)} pixels, off it {stray[:5]} in {path}")
        # (When the hands meet, the minute hand can hide the whole hour hand.)
        assert found or all(hidden(p) for p in (tail, tip)), \
            f"no {name} hand at {stamp}: expected from {tail} to {tip} in {path}"
        # It ends at its tip: the farthest pixel from the centre is the tip's, unless a later
        # hand covers it.
        tip_pixel = tuple(math.floor(c + 0.5) for c in tip)
        if not hidden(tip):
            end = max(found, key=lambda p: math.hypot(p[0] - centre[0], p[1] - centre[1]))
            assert max(abs(end[0] - tip_pixel[0]), abs(end[1] - tip_pixel[1])) <= 1, \
                f"{name} hand at {stamp} ends at {end}, expected {tip_pixel}, in {path}"
        # And it is drawn all along: sample it wherever the later hands leave it visible.
        checked = 0
        for f in (0.4, 0.55, 0.7, 0.85, 1.0):
            p = (centre[0] + f * (tip[0] - centre[0]), centre[1] + f * (tip[1] - centre[1]))
            if hidden(p):
                continue
            checked += 1
            assert any(math.hypot(x - p[0], y - p[1]) <= 1.5 for x, y in found), \
                f"{name} hand at {stamp}: nothing of it near ({p[0]:.1f}, {p[1]:.1f}) in {path}"
        if name == "minute":
            assert checked, f"the minute hand's tip hidden under the ring at {stamp}? {path}"

    # The second ring: an outline of radius 1.8 units round the point 8 units out (the shot
    # was chosen by its centre).
    (rcx, rcy), rx, ry = ring
    found = pixels_of(image, BLUE)
    x0, y0, x1, y1 = bbox(found)
    where = (f"second ring at {stamp} over ({x0}, {y0})..({x1}, {y1}) in {path}; expected "
             f"centre ({rcx:.1f}, {rcy:.1f}), radii {rx:.1f} x {ry:.1f}")
    assert abs((x1 - x0) - 2 * rx) <= 1.5 and abs((y1 - y0) - 2 * ry) <= 1.5, where
    assert all(ring_distance(p, ring) <= 2 for p in found), where


# --------------------------------------------------------------------------- 4. pendulum


@pytest.mark.parametrize("background, pendulum", [
    ((0, 0, 0), (128, 128, 0)),  # on black the bob shows as drawn
    ((255, 0, 0), (0, 128, 0)),  # on red it is OR-ed with the background
], ids=["on-black", "on-red"])
def test_bob_swings_on_its_arc(app, tmp_path, background, pendulum):
    clock = app.start(ini=clock_ini(face=background, pendulum=pendulum))
    shots = Shots(clock, tmp_path, "bob")
    shots.settled()
    # The sprite's rings: Color_5 + 16i (capped) for i = 0 at the rim to 12 in the middle,
    # each OR-ed with the background.
    rings = [tuple(min(p + 16 * i, 255) | b for p, b in zip(pendulum, background))
             for i in range(13)]

    # Shot after shot, each with one well-formed bob on the arc, until it has been seen in
    # two places.
    centres = set()
    end = time.monotonic() + 10
    while len(centres) < 2 and time.monotonic() < end:
        image, path = shots.take()
        centre, count, bob = bob_centre(image, background)
        assert centre, f"no bob in the pendulum area of {path}"
        x, y = centre
        where = f"bob centred on ({x:.1f}, {y - PEND_TOP:.1f}) in the area, in {path}"
        # One bob only (a 25-pixel disc), the earlier ones cleared away.
        x0, y0, x1, y1 = bbox(bob)
        assert x1 - x0 + 1 <= 25 and y1 - y0 + 1 <= 25 and 400 <= count <= 520, \
            f"{where}: {count} pixels over ({x0}, {y0})..({x1}, {y1})"
        # On the arc of radius 30 round the pivot, the top middle of the area.
        assert 16 - 1.5 <= x <= 64 + 1.5 and 18 - 1.5 <= y - PEND_TOP <= 30 + 1.5, where
        assert abs(math.hypot(x - 40, y - PEND_TOP) - 30) <= 1.5, where
        # Shaded from the rim colour to (nearly) the middle one, nothing else.
        colours = {image.getpixel(p) for p in bob}
        assert colours <= set(rings), f"{where}: colours {sorted(set(colours) - set(rings))}"
        assert rings[0] in colours and rings[12] in colours, \
            f"{where}: no {rings[0]} rim or {rings[12]} middle"
        centres.add((round(x), round(y)))
    assert len(centres) > 1, f"the bob stays at {centres}"


# --------------------------------------------------------------------------- 5. dial corners


@pytest.mark.parametrize("background", [(0, 0, 0), (255, 0, 0)], ids=["black", "red"])
def test_dial_corners(app, tmp_path, background):
    clock = app.start(ini=clock_ini(face=background))
    image, path = Shots(clock, tmp_path, "corners").settled()

    corners = list(corner_pixels())
    assert len(corners) > 200
    if background == (0, 0, 0):
        # Black asks for a vertical shade: a blue-grey, one colour along each row, dark at the
        # top and the bottom and light in the middle.
        rows = {}
        for x, y in corners:
            r, g, b = image.getpixel((x, y))
            assert r == g and b == r + 30, f"({x}, {y}) is {(r, g, b)} in {path}"
            rows.setdefault(y, set()).add(r)
        assert all(len(v) == 1 for v in rows.values()), f"rows not one colour in {path}"
        level = [v.pop() for _, v in sorted(rows.items())]
        top, bottom = level[:len(level) // 2], level[len(level) // 2:]
        assert (top == sorted(top) and bottom == sorted(bottom, reverse=True)
                and max(level) > 150 and level[0] < 20 and level[-1] < 20), f"{level} in {path}"
    else:
        assert {image.getpixel(p) for p in corners} == {background}, path
    # Below the dial, the window's own background and the pendulum area: Color_0.
    assert image.getpixel((40, 82)) == background, path
    assert image.getpixel((2, PEND_TOP + 2)) == background, path
