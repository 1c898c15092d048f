"""The conversion's texts of the sectors and lunes, recomputed from their arcs as saved: the
radius, the counter-clockwise sweep in degrees (a quarter turn also across direction 0, never a
negative angle), the chord and its distance from the centre, and the areas with the full π."""
import math
import re
import sys

from figure_checks import Checker

PI = 3.141592653589793


def arc_values(arc, lune):
    r = arc.dxf.radius
    sweep = math.radians(arc.dxf.end_angle) - math.radians(arc.dxf.start_angle)
    if sweep < 0:
        sweep += 2 * PI
    angle = sweep * 360 / 6.283185307179586
    sector_area = r * r * PI * angle / 360
    if not lune:
        return [r, angle, sector_area]
    chord = 2 * r * math.sin(sweep / 2)
    height = r * math.cos(sweep / 2)
    return [r, angle, chord, height, sector_area - chord * height * 0.5]


def printed_values(transcript, name):
    with open(transcript, encoding="utf-8") as lines:
        text = lines.read()
    found = re.search(r"Command: \(area_convert30 %s\)\n\"\((.*)\)\"\n" % name, text)
    return None if found is None else found.group(1)


checker = Checker(sys.argv[1])
arcs = {"sector": ("DICT_SECTOR", 0, False), "sector0": ("DICT_SECTOR", 1, False),
        "lune": ("DICT_LUNE", 0, True), "lune0": ("DICT_LUNE", 1, True)}
for name, (dictionary, index, lune) in arcs.items():
    figures = checker.figures(dictionary)
    if not checker.expect(len(figures) == 2, f"{dictionary}: {len(figures)} figures"):
        continue
    expected = arc_values(figures[index].outline, lune)
    printed = printed_values(sys.argv[2], name)
    if not checker.expect(printed is not None, f"{name}: no text returned"):
        continue
    fields = printed.split(" ")
    # Single blanks between the values and none inside the parentheses.
    checker.expect(all(re.fullmatch(r"-?\d+\.\d{8}", f) for f in fields),
                   f"{name}: eight decimals each: {printed!r}")
    values = [float(f) for f in fields]
    checker.expect(len(values) == len(expected) and all(
        math.isclose(v, e, rel_tol=1e-13, abs_tol=1.5e-8) for v, e in zip(values, expected)),
        f"{name}: {values}, expected {expected}")
# The arcs across direction 0 sweep a quarter turn, as drawn.
for name in ("sector0", "lune0"):
    printed = printed_values(sys.argv[2], name)
    angle = float(printed.split(" ")[1]) if printed else None
    checker.expect(angle is not None and abs(angle - 90.0) < 0.001, f"{name}: angle {angle}")
checker.finish()
