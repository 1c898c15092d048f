"""Two triangles in a triangle-form and a general-form schedule: a stretch rewrites one row of
each and the footers; erasing a mark takes the figure's row texts out of both, lowers the footers
and drops its record, and UNDO restores it; erasing an outline or a value text changes nothing."""
import sys

from figure_checks import Checker, describe
from linkage_checks import expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table, triangle_table

TEXT_SIZE = 300.0  # value texts sit TEXTSIZE / 3 = 100 left of their segment's midpoint
TRIANGLE_FORM_AT = (0, -5000)
GENERAL_FORM_AT = (0, -15000)
SECOND_ROW_TEXT_Y = {TRIANGLE_FORM_AT: ",-7450)", GENERAL_FORM_AT: ",-17450)"}  # -1400-1200+150

final = sys.argv[1]
before = saved_beside(final, "link_triangle_form.before.dxf")
stretched = saved_beside(final, "link_triangle_form.stretched.dxf")
erased = saved_beside(final, "link_triangle_form.erased.dxf")
unerased = saved_beside(final, "link_triangle_form.unerased.dxf")

# Triangle 2: P1(10000,2000) P2(9000,0) P3(12000,0): base 3.00, height 2.00, 6.00, area 3.00.
SECOND = ("", "2", "3.00", "2.00", "6.00")
SECOND_GENERAL = ("", "2", "3.00x2.00x0.5", "3.00")


def without_second_row(lines, at):
    """The table as drawn, less the texts of its second row: the grid lines stay."""
    return [line for line in lines
            if not (line.startswith("TEXT ") and SECOND_ROW_TEXT_Y[at] + ' "' in line)]


def schedules(path, first, first_general, sum_, half, total, second_erased=False):
    """Both tables and the rows every record lists."""
    s = Schedules(path)
    triangle_rows = [first, SECOND]
    general_rows = [first_general, SECOND_GENERAL]
    expected = [triangle_table(*TRIANGLE_FORM_AT, triangle_rows, sum_, half, TEXT_SIZE),
                general_table(*GENERAL_FORM_AT, general_rows, total, TEXT_SIZE)]
    if second_erased:
        expected = [without_second_row(expected[0], TRIANGLE_FORM_AT),
                    without_second_row(expected[1], GENERAL_FORM_AT)]
    s.equal(s.tables(), expected, f"{path}: the two schedules")
    footer = [sum_, half, half]
    records = [("DICT_TRIANGLE", "1", [list(first) + footer], [list(first_general) + [total]])]
    if not second_erased:
        records.append(("DICT_TRIANGLE", "2", [list(SECOND) + footer],
                        [list(SECOND_GENERAL) + [total]]))
    s.equal(sorted(s.records()), records, f"{path}: rows of the records")
    return s.failures


def unchanged(checker, old, handles, what):
    """The entities `handles` are as in the drawing `old`."""
    for handle in sorted(handles):
        then, now = old.doc.entitydb.get(handle), checker.doc.entitydb.get(handle)
        checker.equal(now and describe(now), then and describe(then), f"{what}: {handle}")


# As drawn: triangle 1, P1(1000,3000) P2(0,0) P3(4000,0): 4.00 x 3.00 = 12.00, area 6.00.
# Triangle form: sum 12.00 + 6.00 = 18.00, half 9.00; general form: 6.00 + 3.00 = 9.00.
failures = schedules(before, ("", "1", "4.00", "3.00", "12.00"), ("", "1", "4.00x3.00x0.5", "6.00"),
                     "18.00", "9.00", "9.00")

# Apex dragged to (2000,5000): F = (2000,0); base 4.00, height 5.00, double area 20.00, area
# 10.00. Sum 18.00 - (12.00 - 20.00) = 26.00, half 13.00; total 9.00 - (6.00 - 10.00) = 13.00.
c = Checker(stretched)
first = c.figures("DICT_TRIANGLE")[0]
line, base, height = (c.doc.entitydb.get(h) for h in first.shape_handles)
c.near(list(line.dxf.start) + list(line.dxf.end), [2000, 5000, 0, 2000, 0, 0],
       "height line, dragged with the apex, runs from the new apex to the foot")
c.text(base, "4.00", (2000, 100), 0, "base text")
# P1→F points down (270°): midpoint (2000,2500) + (100,0).
c.text(height, "5.00", (2100, 2500), 270, "height text")
# Centroid ((2000+0+4000)/3, (5000+0+0)/3).
c.mark(first, (2000, 1666.6667),
       {"BANGO1": "1", "BANGO2": "", "KT": "1", "SK": "( 4.00 5.00 20.00 10.00 )", "PM": "+"})
failures += c.failures
STRETCHED = ("", "1", "4.00", "5.00", "20.00")
STRETCHED_GENERAL = ("", "1", "4.00x5.00x0.5", "10.00")
failures += schedules(stretched, STRETCHED, STRETCHED_GENERAL, "26.00", "13.00", "13.00")

# Second mark erased: sum 26.00 - 6.00 = 20.00, half and land area 13.00 - 3.00 = 10.00;
# total 13.00 - 3.00 = 10.00. The record goes; outline, height line and texts stay.
old = Checker(stretched)
second = next(f for f in old.figures("DICT_TRIANGLE") if f.key != first.key)
record = old.doc.rootdict["DICT_TRIANGLE"][second.key].dxf.handle
c = Checker(erased)
c.equal([f.key for f in c.figures("DICT_TRIANGLE")], [first.key], "records left in DICT_TRIANGLE")
c.equal(c.doc.entitydb.get(record), None, "the erased figure's record")
c.equal(c.doc.entitydb.get(second.mark_handle), None, "the erased mark")
unchanged(c, old, set(second.members) - {second.mark_handle}, "the erased figure's other members")
failures += c.failures
failures += schedules(erased, STRETCHED, STRETCHED_GENERAL, "20.00", "10.00", "10.00", True)

# Erased again after the UNDO, then the first figure's outline and height text: no schedule moves
# and the first record stays with its rows.
c = Checker(final)
old = Checker(erased)
gone = {first.key, first.shape_handles[2]}
c.equal([c.doc.entitydb.get(h) for h in sorted(gone)], [None, None],
        "the erased outline and height text")
unchanged(c, old, {e.dxf.handle for e in old.doc.modelspace()} - gone,
          "everything else as after the mark's erase")
failures += c.failures
failures += schedules(final, STRETCHED, STRETCHED_GENERAL, "20.00", "10.00", "10.00", True)

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(stretched, unerased, "UNDO 1 after the mark's erase")
