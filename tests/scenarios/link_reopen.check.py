"""The saved drawing and the drawings opened from its DXF and .tdb saves: after the same stretch,
text edit and erase both show the numbers worked out below, agree object for object, and UNDO
of the erase gives back the drawing saved before it.

Metres with 2 decimals, half up; π is 3.14.
"""
import os
import sys

import ezdxf

from linkage_checks import (contents, equal, expect_drawing_state, expect_same_drawing, failures,
                            saved_beside)

DICTIONARY = {"1": "DICT_TRIANGLE", "2": "DICT_CIRCLE", "3": "DICT_RECTANGLE"}

# Per label: value texts, value list, sign.
SAVED = {
    # (0,3000) (-1000,0) (4000,0): base 5.00, height 3.00, 15.00, area 7.50
    "1": (["5.00", "3.00"], "( 5.00 3.00 15.00 7.50 )", "+"),
    # r 1.50: 1.5 x 1.5 x 3.14 = 7.065, half up 7.07
    "2": (["1.50"], "( 1.50 7.07 )", "+"),
    # 3000 x 2000: 6.00
    "3": (["3.00", "2.00"], "( 3.00 2.00 6.00 )", "+"),
}
# Apex to (1000,4000): height 4.00, 5.00 x 4.00 = 20.00, area 10.00. Radius text 2.00:
# 2 x 2 x 3.14 = 12.56.
EDITED = dict(SAVED, **{"1": (["5.00", "4.00"], "( 5.00 4.00 20.00 10.00 )", "+"),
                        "2": (["2.00"], "( 2.00 12.56 )", "+")})
GENERAL_SAVED = [("", "1", "5.00x3.00x0.5", "7.50"), ("", "2", "1.50x1.50x3.14", "7.07"),
                 ("", "3", "3.00x2.00", "6.00")]
TOTAL_SAVED = "20.57"  # 7.50 + 7.07 + 6.00
GENERAL_EDITED = [("", "1", "5.00x4.00x0.5", "10.00"), ("", "2", "2.00x2.00x3.14", "12.56"),
                  GENERAL_SAVED[2]]
TOTAL_EDITED = "28.56"  # 10.00 + 12.56 + 6.00
TOTAL_ERASED = "22.56"  # 28.56 - 6.00
TRIANGLE_SAVED, SUMS_SAVED = [("", "1", "5.00", "3.00", "15.00")], ("15.00", "7.50")
TRIANGLE_EDITED, SUMS_EDITED = [("", "1", "5.00", "4.00", "20.00")], ("20.00", "10.00")
# The stretch moves the triangle's mark to the new centroid (1000 - 1000 + 4000) / 3,
# (4000 + 0 + 0) / 3; retyping the radius leaves the circle's mark at the centre.
MARKS_EDITED = {"1": (1333.333333, 1333.333333), "2": (10000.0, 0.0)}

def check(name, figures, general, total, triangle, sums, marked):
    path = saved_beside(sys.argv[1], name)
    expect_drawing_state(path, DICTIONARY, figures, general, total, triangle, sums, marked)


def mark_points(path):
    doc = ezdxf.readfile(path)
    return {label: (round(insert.dxf.insert.x, 6), round(insert.dxf.insert.y, 6))
            for insert in doc.modelspace().query("INSERT[name=='AREA1']")
            for label in [next(a.dxf.text for a in insert.attribs if a.dxf.tag == "BANGO1")]}


def same_objects(first, second, what):
    """The two drawings hold the same objects under the same handles, apart from the standard
    tables and blocks that each save numbers anew from its handle seed on."""
    a, b = contents(first), contents(second)
    seed = min(int(h, 16) for h, (kind, _, _) in a.items() if kind == "TABLE")
    differ = [h for h in set(a) | set(b) if int(h, 16) < seed and a.get(h) != b.get(h)]
    if differ:
        failures.append(f"{what}: objects {sorted(differ)} differ")


check("link_reopen.saved.dxf", SAVED, GENERAL_SAVED, TOTAL_SAVED, TRIANGLE_SAVED, SUMS_SAVED,
      ["1", "2", "3"])
for source in ("dxf", "tdb"):
    check(f"link_reopen.{source}.edited.dxf", EDITED, GENERAL_EDITED, TOTAL_EDITED,
          TRIANGLE_EDITED, SUMS_EDITED, ["1", "2", "3"])
    # The erased rectangle keeps its texts; its row and its record are gone.
    check(f"link_reopen.{source}.erased.dxf", EDITED, GENERAL_EDITED[:2], TOTAL_ERASED,
          TRIANGLE_EDITED, SUMS_EDITED, ["1", "2"])
    edited = saved_beside(sys.argv[1], f"link_reopen.{source}.edited.dxf")
    if os.path.exists(edited):
        points = mark_points(edited)
        equal({k: points.get(k) for k in MARKS_EDITED}, MARKS_EDITED, f"{source}: mark points")
if not failures:
    same_objects(saved_beside(sys.argv[1], "link_reopen.dxf.edited.dxf"),
                 saved_beside(sys.argv[1], "link_reopen.tdb.edited.dxf"), "DXF and .tdb edited")
    same_objects(saved_beside(sys.argv[1], "link_reopen.dxf.erased.dxf"),
                 saved_beside(sys.argv[1], "link_reopen.tdb.erased.dxf"), "DXF and .tdb erased")
for failure in failures:
    print(failure)
if failures:
    sys.exit(1)
# UNDO of the erase in the drawing opened from .tdb.
expect_same_drawing(saved_beside(sys.argv[1], "link_reopen.tdb.edited.dxf"), sys.argv[1],
                    "UNDO 1 after the erase")
