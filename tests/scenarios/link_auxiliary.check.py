"""Auxiliary lines and arcs: free to stretch in a freshly opened drawing, put back after every
stretch once an outline change has armed the linkage, and left where a MOVE puts them."""
import sys

import ezdxf

from figure_checks import Checker, describe
from linkage_checks import saved_beside

final = sys.argv[1]


def saved(name):
    return saved_beside(final, f"link_auxiliary.{name}.dxf")


def model(path):
    """Every model-space entity by handle, as it shows."""
    return {e.dxf.handle: describe(e) for e in ezdxf.readfile(path).modelspace()}


failures = []


def changes(before, after, expected, what):
    """Only the entities named in `expected` differ, each as given there (a line's start and end,
    or the text and value list of the circle)."""
    changed = sorted(h for h in set(before) | set(after) if before.get(h) != after.get(h))
    if changed != sorted(expected):
        failures.append(f"{what}: changed {changed}, expected {sorted(expected)}")
        return
    for handle, shown in expected.items():
        for key, value in shown.items():
            if after[handle].get(key) != value:
                failures.append(f"{what}: {handle} {key} is {after[handle].get(key)!r}, "
                                f"expected {value!r}")


c = Checker(saved("drawn"))
triangle = c.figures("DICT_TRIANGLE")[0]
height_line = triangle.shape_handles[0]
circle = c.figures("DICT_CIRCLE")[0]
radius_line, radius_text = circle.shape_handles

drawn, unarmed, armed = model(saved("drawn")), model(saved("unarmed")), model(saved("armed"))

# The opened drawing's reactor is not armed: the foot of the height line goes to 500,-500.
changes(drawn, unarmed, {height_line: {"start": (0.0, 3000.0, 0.0), "end": (500.0, -500.0, 0.0)}},
        "height line dragged before arming")

# The quadrant drag (radius 1500) arms the linkage; the handler's own move of the radius line
# is kept: 1.5 x 1.5 x 3.14 = 7.065 -> 7.07.
mark = dict(unarmed[circle.mark_handle])
mark["attributes"] = [(tag, "( 1.50 7.07 )" if tag == "SK" else text, at)
                      for tag, text, at in mark["attributes"]]
changes(unarmed, armed, {
    circle.key: {"center": (20000.0, 0.0, 0.0), "radius": 1500.0},
    radius_line: {"start": (20000.0, 0.0, 0.0), "end": (21500.0, 0.0, 0.0)},
    radius_text: {"text": "1.50", "align_point": (20750.0, 0.833333, 0.0)},
    circle.mark_handle: {"attributes": mark["attributes"]}}, "circle dragged")

# Once armed, every stretch of an auxiliary line or arc is put back.
for name, what in (("grip_height", "grip drag of the height line's foot"),
                   ("stretch_height", "STRETCH of the height line's foot"),
                   ("grip_radius", "grip drag of the sector's start radius line"),
                   ("stretch_radius", "STRETCH of both radius lines at the centre"),
                   ("grip_angle_arc", "grip drag of the angle arc's midpoint")):
    changes(armed, model(saved(name)), {}, what)

# A MOVE of the height line alone by 100 along x is kept.
changes(model(saved("grip_angle_arc")), model(final),
        {height_line: {"start": (100.0, 3000.0, 0.0), "end": (600.0, -500.0, 0.0)}},
        "height line moved")

for failure in failures:
    print("FAILED: " + failure)
sys.exit(1 if failures else 0)
