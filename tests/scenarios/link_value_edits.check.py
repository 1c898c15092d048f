"""Values edited by hand: typed value texts and a mark's sign reach the value list, the schedule
row and the total, nothing moves, and UNDO gives back the drawing before each edit."""
import sys

from figure_checks import Checker, describe
from linkage_checks import expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table

TEXT_SIZE = 300.0

final = sys.argv[1]


def saved(name):
    return saved_beside(final, f"link_value_edits.{name}.dxf")


# As drawn: triangle P1(1000,2000) P2(0,0) P3(4000,0): 4.00 x 2.00 = 8.00, area 4.00;
# trapezoid P1(10000,0) P2(14000,0) P3(13000,2000) P4(11000,2000): (2.00 + 4.00) x 2.00 x 0.5
# = 6.00. Total 4.00 + 6.00 = 10.00.
TRIANGLE = {"BANGO1": "1", "BANGO2": "", "KT": "1", "SK": "( 4.00 2.00 8.00 4.00 )", "PM": "+"}
TRAPEZOID = {"BANGO1": "2", "BANGO2": "", "KT": "3", "SK": "( 2.00 4.00 2.00 6.00 )", "PM": "+"}
TRIANGLE_ROW = ("", "1", "4.00x2.00x0.5", "4.00")
TRAPEZOID_ROW = ("", "2", "(2.00+4.00)x2.00x0.5", "6.00")


def without_strings(shown):
    """A described entity less its string and its attributes' strings."""
    shown.pop("text", None)
    if "attributes" in shown:
        shown["attributes"] = [(tag, at) for tag, _text, at in shown["attributes"]]
    return shown


def check(path, triangle_mark, triangle_row, trapezoid_mark, trapezoid_row, total, texts):
    """Marks (in place), value texts (strings only change), the schedule and the records."""
    c = Checker(path)
    triangle = c.figures("DICT_TRIANGLE")[0]
    trapezoid = c.figures("DICT_TRAPEZOID")[0]
    c.mark(triangle, (1666.6667, 666.6667), triangle_mark, "triangle mark at the centroid")
    c.mark(trapezoid, (12000, 1000), trapezoid_mark, "trapezoid mark")
    handles = triangle.shape_handles[1:] + trapezoid.shape_handles[1:]
    c.equal([c.doc.entitydb.get(h).dxf.text for h in handles], texts,
            "value texts: triangle base, height; trapezoid lower, upper, height")
    # Only strings were typed: every other property of the figures is as drawn.
    drawn = Checker(saved("before"))
    for handle in triangle.members + trapezoid.members:
        now, then = (without_strings(describe(d.doc.entitydb.get(handle))) for d in (c, drawn))
        c.equal(now, then, f"{path}: {handle} apart from its strings")
    s = Schedules(path)
    s.equal(s.tables(), [general_table(0, -5000, [triangle_row, trapezoid_row], total, TEXT_SIZE)],
            f"{path}: the schedule")
    s.equal(sorted(s.records()), [
        ("DICT_TRAPEZOID", "2", [], [list(trapezoid_row) + [total]]),
        ("DICT_TRIANGLE", "1", [], [list(triangle_row) + [total]]),
    ], f"{path}: rows of the records")
    return c.failures + s.failures


AS_DRAWN = ["4.00", "2.00", "2.00", "4.00", "2.00"]
failures = check(saved("before"), TRIANGLE, TRIANGLE_ROW, TRAPEZOID, TRAPEZOID_ROW, "10.00",
                 AS_DRAWN)

# Base text "10" with height text "2.00": 10 x 2.00 = 20.00, area 10.00;
# total 10.00 - (4.00 - 10.00) = 16.00. The typed text goes into the list as typed.
failures += check(saved("base"), dict(TRIANGLE, SK="( 10 2.00 20.00 10.00 )"),
                  ("", "1", "10x2.00x0.5", "10.00"), TRAPEZOID, TRAPEZOID_ROW, "16.00",
                  ["10", "2.00", "2.00", "4.00", "2.00"])

# Then height text "5": 10 x 5 = 50.00, area 25.00; total 16.00 - (10.00 - 25.00) = 31.00.
failures += check(saved("both"), dict(TRIANGLE, SK="( 10 5 50.00 25.00 )"),
                  ("", "1", "10x5x0.5", "25.00"), TRAPEZOID, TRAPEZOID_ROW, "31.00",
                  ["10", "5", "2.00", "4.00", "2.00"])

# Sign "-": the row shows "-" and -4.00; total 10.00 - (4.00 - -4.00) = 2.00.
failures += check(saved("negative"), dict(TRIANGLE, PM="-"), ("-", "1", "4.00x2.00x0.5", "-4.00"),
                  TRAPEZOID, TRAPEZOID_ROW, "2.00", AS_DRAWN)

# Lower-base text "3.00": (3.00 + 4.00) x 2.00 x 0.5 = 7.00; total 10.00 - (6.00 - 7.00) = 11.00.
failures += check(saved("lower_base"), TRIANGLE, TRIANGLE_ROW,
                  dict(TRAPEZOID, SK="( 3.00 4.00 2.00 7.00 )"),
                  ("", "2", "(3.00+4.00)x2.00x0.5", "7.00"), "11.00",
                  ["4.00", "2.00", "3.00", "4.00", "2.00"])

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(saved("base"), saved("base_again"), "UNDO 1 after the height text's edit")
expect_same_drawing(saved("before"), saved("undone"), "UNDO 1 after the base text's edit")
expect_same_drawing(saved("before"), saved("positive"), "UNDO 1 after the sign's edit")
expect_same_drawing(saved("before"), final, "UNDO 1 after the lower base's edit")
