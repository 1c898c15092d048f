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
# The second row's texts sit at y0 - 1400 - 2 x 600 + 150.
SECOND_ROW_TEXT_Y = {TRIANGLE_FORM_AT: ",-7450)", GENERAL_FORM_AT: ",-17450)"}

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


# As drawn: triangle 1, P1(1000,3000) P2(0,0) P3(3333,0): base 3.33, height 3.00, 3.33 x 3.00
# = 9.99, area 4.995 → 5.00 (half up). Triangle form: sum 9.99 + 6.00 = 15.99, half 7.995 → 8.00;
# general form: 5.00 + 3.00 = 8.00.
failures = schedules(before, ("", "1", "3.33", "3.00", "9.99"), ("", "1", "3.33x3.00x0.5", "5.00"),
                     "15.99", "8.00", "8.00")

# Apex dragged to (2000,3333): F = (2000,0); base 3.33, height 3.33, double area 11.0889 → 11.09,
# area 3.33 x 3.33 x 0.5 = 5.54445 → 5.54 (not 11.09 / 2 = 5.545 → 5.55).
# Sum 15.99 - (9.99 - 11.09) = 17.09, half 8.545 → 8.55; total 8.00 - (5.00 - 5.54) = 8.54.
c = Checker(stretched)
first = c.figures("DICT_TRIANGLE")[0]
line, base, height = (c.doc.entitydb.get(h) for h in first.shape_handles)
c.near(list(line.dxf.start) + list(line.dxf.end), [2000, 3333, 0, 2000, 0, 0],
       "height line, dragged with the apex, runs from the new apex to the foot")
c.text(base, "3.33", (1666.5, 100), 0, "base text")
# P1→F points down (270°): midpoint (2000,1666.5) + (100,0).
c.text(height, "3.33", (2100, 1666.5), 270, "height text")
# Centroid ((2000+0+3333)/3, (3333+0+0)/3).
c.mark(first, (1777.6667, 1111),
       {"BANGO1": "1", "BANGO2": "", "KT": "1", "SK": "( 3.33 3.33 11.09 5.54 )", "PM": "+"})
failures += c.failures
STRETCHED = ("", "1", "3.33", "3.33", "11.09")
STRETCHED_GENERAL = ("", "1", "3.33x3.33x0.5", "5.54")
failures += schedules(stretched, STRETCHED, STRETCHED_GENERAL, "17.09", "8.55", "8.54")

# Second mark erased: sum 17.09 - 6.00 = 11.09, half and land area 8.55 - 3.00 = 5.55;
# total 8.54 - 3.00 = 5.54. The record goes; outline, height line and texts stay.
old = Checker(stretched)
second = next(f for f in old.figures("DICT_TRIANGLE") if f.key != first.key)
record = old.doc.rootdict["DICT_TRIANGLE"][second.key].dxf.handle
c = Checker(erased)
c.equal([f.key for f in c.figures("DICT_TRIANGLE")], [first.key], "records left in DICT_TRIANGLE")
c.equal(c.doc.entitydb.get(record), None, "the erased figure's record")
c.equal(c.doc.entitydb.get(second.mark_handle), None, "the erased mark")
unchanged(c, old, set(second.members) - {second.mark_handle}, "the erased figure's other members")
failures += c.failures
failures += schedules(erased, STRETCHED, STRETCHED_GENERAL, "11.09", "5.55", "5.54", True)

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
failures += schedules(final, STRETCHED, STRETCHED_GENERAL, "11.09", "5.55", "5.54", True)

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(stretched, unerased, "UNDO 1 after the mark's erase")
