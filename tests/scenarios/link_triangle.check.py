"""A triangle's stretch reaches its height line, texts, mark, schedule row and total, and UNDO
takes it back; a stretch that leaves no base and a MOVE of the whole figure recompute nothing."""
import sys

from figure_checks import Checker, describe
from linkage_checks import expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table

TEXT_SIZE = 300.0  # value texts sit TEXTSIZE / 3 = 100 left of their segment's midpoint
RECTANGLE_ROW = ("", "2", "2.00x1.00", "2.00")
RECTANGLE_RECORD = ("DICT_RECTANGLE", "2", [])

final = sys.argv[1]
before = saved_beside(final, "link_triangle.before.dxf")
stretched = saved_beside(final, "link_triangle.stretched.dxf")
undone = saved_beside(final, "link_triangle.undone.dxf")
no_base = saved_beside(final, "link_triangle.no_base.dxf")
moved = saved_beside(final, "link_triangle.moved.dxf")


def triangle(checker):
    """The triangle's outline, height line, base text, height text and mark."""
    figure = checker.figures("DICT_TRIANGLE")[0]
    line, base, height = (checker.doc.entitydb.get(h) for h in figure.shape_handles)
    return figure, line, base, height


def vertices(outline):
    return [tuple(round(c, 4) for c in v.dxf.location)[:2] for v in outline.vertices]


def unchanged(checker, old, handles, what):
    """The entities `handles` are as in the drawing `old`."""
    for handle in sorted(handles):
        then, now = old.doc.entitydb.get(handle), checker.doc.entitydb.get(handle)
        checker.equal(now and describe(now), then and describe(then), f"{what}: {handle}")


def schedule(path, triangle_row, total, triangle_record_row):
    s = Schedules(path)
    s.equal(s.tables(), [general_table(0, -5000, [triangle_row, RECTANGLE_ROW], total, TEXT_SIZE)],
            f"{path}: the schedule")
    s.equal(sorted(s.records()), [
        RECTANGLE_RECORD + ([list(RECTANGLE_ROW) + [total]],),
        ("DICT_TRIANGLE", "1", [], [triangle_record_row + [total]]),
    ], f"{path}: rows of the records")
    return s.failures


failures = []

# As drawn: base P2(0,0)→P3(4000,0) 4.00, height from P1(1000,3000) 3.00, area 6.00; 6.00 + 2.00.
failures += schedule(before, ("", "1", "4.00x3.00x0.5", "6.00"), "8.00",
                     ["", "1", "4.00x3.00x0.5", "6.00"])

# P3 dragged to (4000,3000): base direction (0.8,0.6), length 5000 → 5.00 at 36.8699°.
# Foot F = (P1·d) d = 2600 (0.8,0.6) = (2080,1560); height |P1F| = |(1080,-1440)| = 1800 → 1.80.
# Product 5.00 x 1.80 = 9.00, area 4.50; total 8.00 - (6.00 - 4.50) = 6.50.
c = Checker(stretched)
old = Checker(before)
figure, line, base, height = triangle(c)
old_mark = triangle(old)[0].mark
c.equal(vertices(figure.outline), [(1000, 3000), (0, 0), (4000, 3000)], "stretched outline")
c.near(line.dxf.start, (1000, 3000), "height line from P1")
c.near(line.dxf.end, (2080, 1560), "height line to the foot")
# Base text: midpoint (2000,1500) + 100 (-0.6,0.8) = (1940,1580), along P2→P3.
c.text(base, "5.00", (1940, 1580), 36.8699, "base text")
# Height text: P1→F points (0.6,-0.8), 306.8699°; midpoint (1540,2280) + 100 (0.8,0.6).
c.text(height, "1.80", (1620, 2340), 306.8699, "height text")
c.near([base.dxf.height, height.dxf.height], [TEXT_SIZE, TEXT_SIZE], "value texts take TEXTSIZE")
# Centroid ((1000+0+4000)/3, (3000+0+3000)/3); the mark and its attributes move up by 1000.
c.mark(figure, (1666.6667, 2000),
       {"BANGO1": "1", "BANGO2": "", "KT": "1", "SK": "( 5.00 1.80 9.00 4.50 )", "PM": "+"})
for now, then in zip(figure.mark.attribs, old_mark.attribs):
    c.near(now.dxf.insert, (then.dxf.insert[0], then.dxf.insert[1] + 1000),
           f"attribute {now.dxf.tag} moves with the mark")
failures += c.failures
failures += schedule(stretched, ("", "1", "5.00x1.80x0.5", "4.50"), "6.50",
                     ["", "1", "5.00x1.80x0.5", "4.50"])

# P2 dragged onto P3: no base to measure, so only the outline's second vertex differs.
c = Checker(no_base)
figure = triangle(c)[0]
c.equal(vertices(figure.outline), [(1000, 3000), (4000, 0), (4000, 0)], "outline without a base")
unchanged(c, old, {e.dxf.handle for e in old.doc.modelspace()} - {figure.key},
          "everything but the outline as before the stretch")
failures += c.failures

# MOVE by (5000,4000): every member travels, the strings and the value list stay, no table moves.
c = Checker(moved)
figure, line, base, height = triangle(c)
c.equal(vertices(figure.outline), [(6000, 7000), (5000, 4000), (9000, 4000)], "moved outline")
c.near(list(line.dxf.start) + list(line.dxf.end), [6000, 7000, 0, 6000, 4000, 0],
       "moved height line")
c.text(base, "4.00", (7000, 4100), 0, "moved base text")
c.text(height, "3.00", (6100, 5500), 270, "moved height text")
c.mark(figure, (6666.6667, 5000),
       {"BANGO1": "1", "BANGO2": "", "KT": "1", "SK": "( 4.00 3.00 12.00 6.00 )", "PM": "+"})
unchanged(c, old, {e.dxf.handle for e in old.doc.modelspace()} - set(figure.members),
          "the rectangle and the schedule untouched by the move")
failures += c.failures
failures += schedule(moved, ("", "1", "4.00x3.00x0.5", "6.00"), "8.00",
                     ["", "1", "4.00x3.00x0.5", "6.00"])

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(before, undone, "UNDO 1 after the stretch")
expect_same_drawing(before, final, "UNDO 1 after the move")
