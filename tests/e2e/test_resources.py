"""The built exe carries every picture the windows load, under the ids of
res/resource_ids.h, byte for byte as committed under assets/, in the sizes the dialog
lays out (at 100 %, 150 % and 200 %). Reads the PE resource directory directly; no Wine needed."""

from __future__ import annotations

import re
import struct
from pathlib import Path

from harness import pe_resources

REPO = Path(__file__).resolve().parents[2]
ASSETS = REPO / "assets"

RT_CURSOR, RT_BITMAP, RT_ICON, RT_GROUP_CURSOR, RT_GROUP_ICON = 1, 2, 3, 12, 14

# id name -> (file, width, height)
BITMAPS = {
    "IDB_TEXTURE": ("texture.bmp", 579, 21),
    "IDB_TITLE": ("title.bmp", 537, 22),
    "IDB_CLOSE_UP": ("close_up.bmp", 15, 15),
    "IDB_CLOSE_DOWN": ("close_down.bmp", 15, 15),
    "IDB_HEADING": ("heading.bmp", 95, 22),
    "IDB_BUTTON_OFF": ("button_off.bmp", 21, 20),
    "IDB_BUTTON_ON": ("button_on.bmp", 21, 20),
    "IDB_OPTION_OFF": ("option_off.bmp", 13, 13),
    "IDB_OPTION_ON": ("option_on.bmp", 13, 13),
    "IDB_SWITCH_OFF": ("switch_off.bmp", 12, 12),
    "IDB_SWITCH_ON": ("switch_on.bmp", 12, 12),
}
# Their drawings at 150 % and 200 %: the 100 % size scaled and rounded half up. The texture
# tile has a 200 % drawing only.
for _name, (_file, _w, _h) in list(BITMAPS.items()):
    for _scale in (150, 200):
        if _name != "IDB_TEXTURE" or _scale == 200:
            BITMAPS[f"{_name}_{_scale}"] = (_file.replace(".bmp", f"@{_scale}.bmp"),
                                            int(_w * _scale / 100 + 0.5), int(_h * _scale / 100 + 0.5))


def resource_ids() -> dict:
    text = (REPO / "res" / "resource_ids.h").read_text(encoding="utf-8")
    return {m[1]: int(m[2]) for m in re.finditer(r"#define\s+(\w+)\s+(\d+)", text)}


def test_exe_embeds_the_committed_pictures(exe_path):
    ids = resource_ids()
    res = pe_resources(exe_path)

    for name, (file, width, height) in BITMAPS.items():
        dib = res.get((RT_BITMAP, ids[name]))
        assert dib is not None, f"{name} ({ids[name]}) missing"
        assert dib == (ASSETS / file).read_bytes()[14:], f"{name} differs from assets/{file}"
        w, h, planes, bpp = struct.unpack_from("<iiHH", dib, 4)
        assert (w, abs(h), planes, bpp) == (width, height, 1, 24), name

    # Icon group: an image for every icon size from 100 to 200 %, 16 colours each, whose DIBs
    # match the .ico.
    group = res[(RT_GROUP_ICON, ids["IDI_TESSARINE"])]
    count = struct.unpack_from("<HHH", group)[2]
    ico = (ASSETS / "tessarine.ico").read_bytes()
    sizes = set()
    for k in range(count):
        w, h, colours, _, planes, bpp, size, image_id = struct.unpack_from("<BBBBHHIH", group,
                                                                           6 + 14 * k)
        sizes.add((w, h, colours, bpp))
        image = res[(RT_ICON, image_id)]
        assert len(image) == size and image in ico
        assert struct.unpack_from("<iiHH", image, 4) == (w, 2 * h, 1, 4)
    assert sizes == {(s, s, 16, 4) for s in (16, 20, 24, 32, 48)}

    # Cursor group: one 32 x 32 monochrome image with its hot spot at the fingertip.
    group = res[(RT_GROUP_CURSOR, ids["IDC_HANDPOINT"])]
    assert struct.unpack_from("<HHH", group)[1:] == (2, 1)
    w, h2, planes, bpp, _, image_id = struct.unpack_from("<HHHHIH", group, 6)
    assert (w, h2, planes, bpp) == (32, 64, 1, 1)
    cursor = res[(RT_CURSOR, image_id)]
    assert struct.unpack_from("<HH", cursor) == (12, 10)
    assert struct.unpack_from("<iiHH", cursor, 8) == (32, 64, 1, 1)
