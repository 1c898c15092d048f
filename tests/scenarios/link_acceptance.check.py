"""The lot at each save: every value text, value list, sign, schedule row and total, worked out by
hand; the stretched and retyped figures and their schedules against fresh ones of the edited
sizes; and UNDO Back against the saved start.

Metres with 2 decimals, half up; areas from the rounded lengths; π is 3.14.
"""
import math
import os
import sys

import ezdxf

from figure_checks import Checker
from linkage_checks import expect_same_drawing, mark_values, saved_beside, texts_of
from schedule_checks import Schedules, general_table, triangle_table

TEXT_SIZE = 2.5
FRESH_SHIFT = -30000.0  # the fresh figures lie this far below the lot
DICTIONARY = {"1": "DICT_TRIANGLE", "2": "DICT_RECTANGLE", "3": "DICT_TRAPEZOID",
              "4": "DICT_CIRCLE", "5": "DICT_SECTOR", "6": "DICT_TRIANGLE"}

# Per label: the figure's value texts in drawing order, its value list, its sign.
START = {
    # triangle (0,3000) (-1000,0) (4000,0): base 5.00, height 3.00, 15.00, 15.00 x 0.5 = 7.50
    "1": (["5.00", "3.00"], "( 5.00 3.00 15.00 7.50 )", "+"),
    # rectangle 3000 x 2000: 3.00 x 2.00 = 6.00
    "2": (["3.00", "2.00"], "( 3.00 2.00 6.00 )", "+"),
    # trapezoid: lower 2.00, upper 4.00, height 2.00: (2 + 4) x 2 x 0.5 = 6.00
    "3": (["2.00", "4.00", "2.00"], "( 2.00 4.00 2.00 6.00 )", "+"),
    # circle r 1.50: 1.5 x 1.5 x 3.14 = 7.065, half up 7.07
    "4": (["1.50"], "( 1.50 7.07 )", "+"),
    # sector r 2.00, 90 degrees: 2 x 2 x 3.14 x 90 / 360 = 3.14
    "5": (["2.00", "90.00"], "( 2.00 90.00 3.14 )", "+"),
    # triangle (51000,2000) (50000,0) (52000,0): 2.00 x 2.00 = 4.00, area 2.00
    "6": (["2.00", "2.00"], "( 2.00 2.00 4.00 2.00 )", "+"),
}
# Apex to (1000,4000): height 4.00, 5.00 x 4.00 = 20.00, area 10.00. Rectangle corner p3 to
# (14000,-1000), p1 kept: sides 4.00 and 3.00, area 12.00.
STRETCHED = dict(START, **{
    "1": (["5.00", "4.00"], "( 5.00 4.00 20.00 10.00 )", "+"),
    "2": (["4.00", "3.00"], "( 4.00 3.00 12.00 )", "+"),
})
# Circle r 2.00: 2 x 2 x 3.14 = 12.56. Sector end towards (-0.6, 0.8): atan2(0.8, -0.6) =
# 126.8699 degrees, 126.87; 12.56 x 126.87 / 360 = 4.4264, 4.43. Trapezoid upper 5.00:
# (2 + 5) x 2 x 0.5 = 7.00. Triangle 6 base 3.00: 3.00 x 2.00 = 6.00, area 3.00.
EDITED = dict(STRETCHED, **{
    "3": (["2.00", "5.00", "2.00"], "( 2.00 5.00 2.00 7.00 )", "+"),
    "4": (["2.00"], "( 2.00 12.56 )", "+"),
    "5": (["2.00", "126.87"], "( 2.00 126.87 4.43 )", "+"),
    "6": (["3.00", "2.00"], "( 3.00 2.00 6.00 3.00 )", "+"),
})
DEDUCTED = dict(EDITED, **{"6": (["3.00", "2.00"], "( 3.00 2.00 6.00 3.00 )", "-")})

# General-form rows (sign, number, formula, area) and total.
GENERAL_START = [("", "1", "5.00x3.00x0.5", "7.50"), ("", "2", "3.00x2.00", "6.00"),
                 ("", "3", "(2.00+4.00)x2.00x0.5", "6.00"), ("", "4", "1.50x1.50x3.14", "7.07"),
                 ("", "5", "2.00x2.00x3.14x90.00/360", "3.14"), ("", "6", "2.00x2.00x0.5", "2.00")]
# 7.50 + 6.00 + 6.00 + 7.07 + 3.14 + 2.00
TOTAL_START = "31.71"
GENERAL_STRETCHED = [("", "1", "5.00x4.00x0.5", "10.00"), ("", "2", "4.00x3.00", "12.00")] + \
    GENERAL_START[2:]
TOTAL_STRETCHED = "40.21"  # 31.71 + 2.50 + 6.00
GENERAL_EDITED = GENERAL_STRETCHED[:2] + [
    ("", "3", "(2.00+5.00)x2.00x0.5", "7.00"), ("", "4", "2.00x2.00x3.14", "12.56"),
    ("", "5", "2.00x2.00x3.14x126.87/360", "4.43"), ("", "6", "3.00x2.00x0.5", "3.00")]
TOTAL_EDITED = "48.99"  # 40.21 + 1.00 + 5.49 + 1.29 + 1.00
GENERAL_DEDUCTED = GENERAL_EDITED[:5] + [("-", "6", "3.00x2.00x0.5", "-3.00")]
TOTAL_DEDUCTED = "42.99"  # 48.99 - (3.00 - -3.00)
GENERAL_FINAL = GENERAL_EDITED[:5]
TOTAL_FINAL = "45.99"  # 42.99 - -3.00: 10.00 + 12.00 + 7.00 + 12.56 + 4.43

# Triangle-form rows (sign, number, base, height, double area) and sum, half (= land area).
TRIANGLE_START = [("", "1", "5.00", "3.00", "15.00"), ("", "6", "2.00", "2.00", "4.00")]
SUMS_START = ("19.00", "9.50")
TRIANGLE_STRETCHED = [("", "1", "5.00", "4.00", "20.00"), TRIANGLE_START[1]]
SUMS_STRETCHED = ("24.00", "12.00")
TRIANGLE_EDITED = [TRIANGLE_STRETCHED[0], ("", "6", "3.00", "2.00", "6.00")]
SUMS_EDITED = ("26.00", "13.00")
TRIANGLE_DEDUCTED = [TRIANGLE_STRETCHED[0], ("-", "6", "3.00", "2.00", "-6.00")]
SUMS_DEDUCTED = ("14.00", "7.00")  # 26.00 - (6.00 - -6.00)
TRIANGLE_FINAL = TRIANGLE_STRETCHED[:1]
SUMS_FINAL = ("20.00", "10.00")  # 14.00 - -6.00; half 7.00 - -3.00

failures = []


def equal(actual, expected, what):
    if actual != expected:
        failures.append(f"{what}:\n  got      {actual!r}\n  expected {expected!r}")


def table_texts(general, total, triangle, sums):
    """The schedule texts in drawing order: the general table's total, rows and footer, then the
    triangle table's three footer values, rows and footer labels."""
    texts = [total]
    for row in general:
        texts += list(row)
    texts += ["計", "m2", sums[0], sums[1], sums[1]]
    for row in triangle:
        texts += list(row)
    return texts + ["計", "１／２", "地積", "m2"]


def check_stage(name, figures, general, total, triangle, sums, marked=None):
    """Value texts, marks, schedule texts and each record's rows of one saved drawing."""
    path = saved_beside(sys.argv[1], f"link_acceptance.{name}.dxf")
    if not os.path.exists(path):
        return failures.append(f"{name}: the script did not save {os.path.basename(path)}")
    labels = marked or list(figures)
    equal(texts_of(path, "AREA_VALUE"), [t for label in figures for t in figures[label][0]],
          f"{name}: value texts")
    equal(mark_values(path), [(label, figures[label][1], figures[label][2]) for label in labels],
          f"{name}: marks")
    equal(texts_of(path, "TABLE_TEXT"), table_texts(general, total, triangle, sums),
          f"{name}: schedule texts")
    footer = [sums[0], sums[1], sums[1]]
    rows = [(DICTIONARY[label], label, [list(r) + footer for r in triangle if r[1] == label],
             [list(r) + [total] for r in general if r[1] == label]) for label in labels]
    equal(sorted(Schedules(path).records()), sorted(rows), f"{name}: rows of the records")


def general_table_in_metres(x0, y0, rows, total):
    """The general table with the unit text "m2": the total sits 3 text heights to its left."""
    lines = general_table(x0, y0, rows, total, TEXT_SIZE)
    footer_y = y0 - 1400 - 600 * len(rows) - 450
    lines[1] = f'TEXT TEXT TABLE_TEXT R ({x0 + 18350 - 3 * TEXT_SIZE:g},{footer_y:g}) "{total}"'
    return lines + [f'TEXT TEXT TABLE_TEXT R ({x0 + 18350:g},{footer_y:g}) "m2"']


# The start: both tables laid out in full.
start = Schedules(saved_beside(sys.argv[1], "link_acceptance.start.dxf"))
equal(start.tables(), [general_table_in_metres(0, -10000, GENERAL_START, TOTAL_START),
                       triangle_table(25000, -10000, TRIANGLE_START, *SUMS_START, TEXT_SIZE)],
      "start: the two schedules")
check_stage("start", START, GENERAL_START, TOTAL_START, TRIANGLE_START, SUMS_START)
check_stage("stretched", STRETCHED, GENERAL_STRETCHED, TOTAL_STRETCHED, TRIANGLE_STRETCHED,
            SUMS_STRETCHED)
check_stage("edited", EDITED, GENERAL_EDITED, TOTAL_EDITED, TRIANGLE_EDITED, SUMS_EDITED)
check_stage("deducted", DEDUCTED, GENERAL_DEDUCTED, TOTAL_DEDUCTED, TRIANGLE_DEDUCTED,
            SUMS_DEDUCTED)
# The erased mark's figure keeps its texts but leaves every schedule and its dictionary.
check_stage("final", EDITED, GENERAL_FINAL, TOTAL_FINAL, TRIANGLE_FINAL, SUMS_FINAL,
            marked=["1", "2", "3", "4", "5"])


def near(a, b):
    return math.isclose(a, b, abs_tol=1e-6)


def same_angle(a, b):
    return near(math.remainder(a - b, 360.0), 0.0)


def shape(entity, shift):
    """What an entity shows, its y moved by `shift`: numbers, angles (degrees) and strings."""
    kind, d = entity.dxftype(), entity.dxf
    moved = lambda p: [p[0], p[1] + shift]  # noqa: E731
    numbers, angles, strings = [], [], [kind, d.layer]
    if kind == "POLYLINE":
        for vertex in entity.vertices:
            numbers += moved(vertex.dxf.location)
    elif kind == "LINE":
        numbers = moved(d.start) + moved(d.end)
    elif kind in ("CIRCLE", "ARC"):
        numbers = moved(d.center) + [d.radius]
        if kind == "ARC":
            angles = [d.start_angle, d.end_angle]
    elif kind == "TEXT":
        numbers, angles, strings = moved(d.align_point) + [d.height], [d.rotation], strings + [d.text]
    elif kind == "INSERT":
        numbers = moved(d.insert)
        for attribute in entity.attribs:
            numbers += moved(attribute.dxf.insert)
            strings += [attribute.dxf.tag, attribute.dxf.text]
    return numbers, angles, strings


def same_shape(edited, fresh):
    (n1, a1, s1), (n2, a2, s2) = edited, fresh
    return (s1 == s2 and len(n1) == len(n2) and all(map(near, n1, n2)) and len(a1) == len(a2)
            and all(map(same_angle, a1, a2)))


def figures_by_label(checker, below):
    found = {}
    for dictionary in ("DICT_TRIANGLE", "DICT_RECTANGLE", "DICT_TRAPEZOID", "DICT_CIRCLE",
                       "DICT_SECTOR"):
        for figure in checker.figures(dictionary):
            label = next(a.dxf.text for a in figure.mark.attribs if a.dxf.tag == "BANGO1")
            if (figure.mark.dxf.insert[1] < -20000) == below:
                found[label] = figure
    return found


# The fresh figures (in this drawing, below the restored lot) show what the edited ones show.
FINAL = saved_beside(sys.argv[1], "link_acceptance.final.dxf")
if not os.path.exists(FINAL):
    print("\n".join(failures))
    sys.exit(1)
final = figures_by_label(Checker(FINAL), False)
fresh = figures_by_label(Checker(sys.argv[1]), True)
equal(sorted(fresh), ["1", "2", "3", "4", "5"], "fresh figures")
for label in ("1", "2", "4", "5"):  # stretched: the same figure, 30000 further down
    if label in final and label in fresh:
        edited = [shape(e, FRESH_SHIFT) for e in final[label].entities]
        drawn = [shape(e, 0.0) for e in fresh[label].entities]
        if len(edited) != len(drawn) or not all(map(same_shape, edited, drawn)):
            failures.append(f"figure {label} after its edit differs from a fresh one:\n  "
                            + "\n  ".join(f"{a}\n    fresh {b}" for a, b in zip(edited, drawn)
                                          if not same_shape(a, b)))
if "3" in final and "3" in fresh:  # retyped: the same numbers as a fresh 5.00 upper base
    equal([e.dxf.text for e in fresh["3"].entities if e.dxftype() == "TEXT"],
          [e.dxf.text for e in final["3"].entities if e.dxftype() == "TEXT"], "figure 3 texts")
fresh_texts = [e.dxf.text for e in ezdxf.readfile(sys.argv[1]).modelspace().query("TEXT")
               if e.dxf.layer == "TABLE_TEXT" and e.dxf.insert[1] < -35000]
equal(fresh_texts, texts_of(FINAL, "TABLE_TEXT"),
      "fresh schedules against the edited ones")

for failure in failures:
    print(failure)
if failures:
    sys.exit(1)
# UNDO Back from the last edit gives the saved start again.
expect_same_drawing(saved_beside(sys.argv[1], "link_acceptance.start.dxf"),
                    saved_beside(sys.argv[1], "link_acceptance.undone.dxf"), "UNDO Back")
