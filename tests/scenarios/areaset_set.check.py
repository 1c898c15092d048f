"""After areaset_set every figure and schedule equals one drawn afresh under the new settings 100 m
to the east: value texts (string and layer), marks (value list, layer), schedule texts and totals;
the outlines and auxiliary lines are on the new line layer. The refused call changed nothing."""
import sys

import ezdxf

from linkage_checks import equal, expect_same_drawing, failures, saved_beside

OFFSET = 100000.0  # the fresh copies stand this far east (drawing units)
TABLE_LAYER = "TABLE_TEXT"


def key(point, dx=0.0):
    return (round(point[0] + dx, 4), round(point[1], 4))


def texts_by_place(msp, west):
    """Texts by position, of the figures (or tables) west of the offset or east of it."""
    found = {}
    for text in msp.query("TEXT"):
        x = text.dxf.align_point[0] if text.dxf.hasattr("align_point") else text.dxf.insert[0]
        if (x < OFFSET * 0.9) == west:
            place = text.dxf.align_point if text.dxf.hasattr("align_point") else text.dxf.insert
            found[key(place, 0.0 if west else -OFFSET)] = (text.dxf.text, text.dxf.layer)
    return found


def marks_by_place(msp, west):
    found = {}
    for insert in msp.query("INSERT"):
        tags = {a.dxf.tag: a.dxf.text for a in insert.attribs}
        if "SK" not in tags or (insert.dxf.insert[0] < OFFSET * 0.9) != west:
            continue
        found[key(insert.dxf.insert, 0.0 if west else -OFFSET)] = (tags["SK"], insert.dxf.layer)
    return found


expect_same_drawing(saved_beside(sys.argv[1], "areaset_set.before.dxf"),
                    saved_beside(sys.argv[1], "areaset_set.refused.dxf"), "seven fields")
msp = ezdxf.readfile(sys.argv[1]).modelspace()
updated, fresh = texts_by_place(msp, True), texts_by_place(msp, False)
equal(sorted(updated), sorted(fresh), "places of the texts")
for place in sorted(set(updated) & set(fresh)):
    equal(updated[place], fresh[place], f"text at {place}")
equal(marks_by_place(msp, True), marks_by_place(msp, False), "marks")
three_decimals = [t for t, layer in updated.values() if layer != TABLE_LAYER]
equal(all(len(t.split(".")[-1]) == 3 for t in three_decimals), True,
      f"three decimals in every value text: {three_decimals}")
lines = [e for e in msp if e.dxftype() in ("LINE", "ARC", "CIRCLE", "POLYLINE")
         and e.dxf.layer.startswith(("AREA", "NEW"))]
equal(sorted({e.dxf.layer for e in lines}), ["NEW_LINE"], "layers of outlines and auxiliaries")
if failures:
    print("\n".join(failures))
    sys.exit(1)
