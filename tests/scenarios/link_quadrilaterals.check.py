"""Dragged corners of a rectangle and a trapezoid: the outline is reshaped, then its lines, texts,
mark, schedule row and total follow; a trapezoid corner dragged across is refused and only the
outline keeps the drag. Every UNDO gives back the drawing as it was."""
import sys

from figure_checks import Checker, describe
from linkage_checks import expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table

TEXT_SIZE = 300.0  # value texts sit TEXTSIZE / 3 = 100 left of their segment's midpoint

final = sys.argv[1]
before = saved_beside(final, "link_quadrilaterals.before.dxf")
rectangle_done = saved_beside(final, "link_quadrilaterals.rectangle.dxf")
rectangle_undone = saved_beside(final, "link_quadrilaterals.rectangle_undone.dxf")
trapezoid_done = saved_beside(final, "link_quadrilaterals.trapezoid.dxf")
trapezoid_undone = saved_beside(final, "link_quadrilaterals.trapezoid_undone.dxf")
crossed = saved_beside(final, "link_quadrilaterals.crossed.dxf")
crossed_undone = saved_beside(final, "link_quadrilaterals.crossed_undone.dxf")
whole = saved_beside(final, "link_quadrilaterals.whole.dxf")

# As drawn: rectangle 2.00 x 1.00 = 2.00; trapezoid (2.00 + 4.00) x 2.00 x 0.5 = 6.00.
RECTANGLE_ROW = ("", "1", "2.00x1.00", "2.00")
TRAPEZOID_ROW = ("", "2", "(2.00+4.00)x2.00x0.5", "6.00")


def figure_of(checker, dictionary):
    figure = checker.figures(dictionary)[0]
    return figure, [checker.doc.entitydb.get(h) for h in figure.shape_handles]


def vertices(outline):
    return [tuple(round(c, 4) for c in v.dxf.location)[:2] for v in outline.vertices]


def ends(line):
    return [line.dxf.start[0], line.dxf.start[1], line.dxf.end[0], line.dxf.end[1]]


def unchanged(checker, old, handles, what):
    """The entities `handles` are as in the drawing `old`."""
    for handle in sorted(handles):
        then, now = old.doc.entitydb.get(handle), checker.doc.entitydb.get(handle)
        checker.equal(now and describe(now), then and describe(then), f"{what}: {handle}")


def figure_handles(checker, dictionary):
    return set(checker.figures(dictionary)[0].members)


def schedule(path, rows, total):
    s = Schedules(path)
    s.equal(s.tables(), [general_table(0, -5000, rows, total, TEXT_SIZE)], f"{path}: the schedule")
    s.equal(sorted(s.records()), [
        ("DICT_RECTANGLE", "1", [], [list(rows[0]) + [total]]),
        ("DICT_TRAPEZOID", "2", [], [list(rows[1]) + [total]]),
    ], f"{path}: rows of the records")
    return s.failures


old = Checker(before)
failures = schedule(before, [RECTANGLE_ROW, TRAPEZOID_ROW], "8.00")

# Rectangle P1(0,1000) P2(0,0) P3(2000,0) P4(2000,1000); P3 dragged to (3000,-1000). P1 stays;
# P4 = the vertical through P3 on the line P1P4 (y = 1000) = (3000,1000); P2 = the horizontal
# through P3 on the line P1P2 (x = 0) = (0,-1000). Base P2P3 3.00, height P1P2 2.00, area 6.00;
# total 8.00 - (2.00 - 6.00) = 12.00.
c = Checker(rectangle_done)
figure, (right, left, base, height) = figure_of(c, "DICT_RECTANGLE")
c.equal(vertices(figure.outline), [(0, 1000), (0, -1000), (3000, -1000), (3000, 1000)],
        "rectangle reshaped about P1")
c.near(ends(right), [0, 1000, 3000, -1000], "right diagonal P1→P3 (dragged with P3, then set)")
c.near(ends(left), [0, -1000, 3000, 1000], "left diagonal P2→P4")
# Base along P2→P3: midpoint (1500,-1000) + (0,100); height along P1→P2 (270°): (0,0) + (100,0).
c.text(base, "3.00", (1500, -900), 0, "rectangle base text")
c.text(height, "2.00", (100, 0), 270, "rectangle height text")
c.mark(figure, (1500, 0), {"BANGO1": "1", "BANGO2": "", "KT": "2", "SK": "( 3.00 2.00 6.00 )",
                           "PM": "+"}, "rectangle mark at the midpoint of P1 and P3")
unchanged(c, old, figure_handles(old, "DICT_TRAPEZOID"), "trapezoid after the rectangle's stretch")
failures += c.failures
failures += schedule(rectangle_done, [("", "1", "3.00x2.00", "6.00"), TRAPEZOID_ROW], "12.00")

# Trapezoid P1(10000,0) P2(14000,0) P3(13000,2000) P4(11000,2000); P1 dragged to (9000,-1000).
# P2 slides along P2P3, (14000 - 1000s, 2000s), to y = -1000: s = -0.5, P2 = (14500,-1000).
# Lower P4P3 2.00, upper P1P2 5500 → 5.50, F = (11000,-1000), height 3.00;
# area (2.00 + 5.50) x 3.00 x 0.5 = 11.25; total 8.00 - (6.00 - 11.25) = 13.25.
c = Checker(trapezoid_done)
figure, (line, lower, upper, height) = figure_of(c, "DICT_TRAPEZOID")
c.equal(vertices(figure.outline), [(9000, -1000), (14500, -1000), (13000, 2000), (11000, 2000)],
        "trapezoid with P2 slid along its leg")
c.near(ends(line), [11000, 2000, 11000, -1000], "height line P4→F")
c.text(lower, "2.00", (12000, 2100), 0, "lower-base text")
# Upper along P1→P2: midpoint (11750,-1000) + (0,100);
# height along P4→F (270°): midpoint (11000,500) + (100,0).
c.text(upper, "5.50", (11750, -900), 0, "upper-base text")
c.text(height, "3.00", (11100, 500), 270, "trapezoid height text")
# M = midpoint of P4P3 (12000,2000); its perpendicular meets P1P2 at (12000,-1000); halfway.
c.mark(figure, (12000, 500), {"BANGO1": "2", "BANGO2": "", "KT": "3",
                              "SK": "( 2.00 5.50 3.00 11.25 )", "PM": "+"}, "trapezoid mark")
unchanged(c, old, figure_handles(old, "DICT_RECTANGLE"), "rectangle after the trapezoid's stretch")
failures += c.failures
failures += schedule(trapezoid_done, [RECTANGLE_ROW, ("", "2", "(2.00+5.50)x3.00x0.5", "11.25")],
                     "13.25")

# P4 dragged to (14000,2000): P4→P3 points at 180°, P1→P2 at 0°. Refused: the outline keeps the
# drag, the height line dragged with P4 is put back, nothing else changes.
c = Checker(crossed)
figure = figure_of(c, "DICT_TRAPEZOID")[0]
c.equal(vertices(figure.outline), [(10000, 0), (14000, 0), (13000, 2000), (14000, 2000)],
        "the crossed outline as dragged")
unchanged(c, old, (figure_handles(old, "DICT_TRAPEZOID") | figure_handles(old, "DICT_RECTANGLE"))
          - {figure.key}, "everything but the outline after the refused stretch")
failures += c.failures
failures += schedule(crossed, [RECTANGLE_ROW, TRAPEZOID_ROW], "8.00")

# The whole rectangle stretched by (5000,3000): corner 0 counts as the dragged one, the reshape
# keeps the moved outline, and lines, texts and mark are placed for it once, values unchanged.
c = Checker(whole)
figure, (right, left, base, height) = figure_of(c, "DICT_RECTANGLE")
c.equal(vertices(figure.outline), [(5000, 4000), (5000, 3000), (7000, 3000), (7000, 4000)],
        "the rectangle moved whole")
c.near(ends(right) + ends(left), [5000, 4000, 7000, 3000, 5000, 3000, 7000, 4000], "diagonals")
c.text(base, "2.00", (6000, 3100), 0, "moved base text")
c.text(height, "1.00", (5100, 3500), 270, "moved height text")
c.mark(figure, (6000, 3500), {"BANGO1": "1", "BANGO2": "", "KT": "2", "SK": "( 2.00 1.00 2.00 )",
                              "PM": "+"}, "moved rectangle mark")
failures += c.failures
failures += schedule(whole, [RECTANGLE_ROW, TRAPEZOID_ROW], "8.00")

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(before, rectangle_undone, "UNDO 1 after the rectangle's stretch")
expect_same_drawing(before, trapezoid_undone, "U after the trapezoid's stretch")
expect_same_drawing(before, crossed_undone, "UNDO 1 after the refused stretch")
expect_same_drawing(before, final, "UNDO 1 after the whole rectangle's stretch")
