"""Erase propagation: a mark's erase takes its figure out of every schedule (row texts, total,
record) and nothing else; erasing other parts or a table's own block touches no schedule; OOPS
brings back the mark but not the link; UNDO brings back all of it."""
import sys

import ezdxf

from figure_checks import Checker, describe, record_tags
from linkage_checks import expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table

TEXT_SIZE = 2.5
TABLES_AT = [(0, -10000), (0, -20000)]
TRIANGLE = ("", "1", "4.00x2.00x0.5", "4.00")
RECTANGLE = ("", "2", "2.00x1.00", "2.00")
CIRCLE = ("-", "3", "1.50x1.50x3.14", "-7.07")  # 1.5 x 1.5 x 3.14 = 7.065 -> 7.07, deducted
ROWS = [TRIANGLE, RECTANGLE, CIRCLE]

final = sys.argv[1]
drawn = saved_beside(final, "link_erase.drawn.dxf")
parts = saved_beside(final, "link_erase.parts.dxf")
parts_undone = saved_beside(final, "link_erase.parts_undone.dxf")
triangle_erased = saved_beside(final, "link_erase.triangle.dxf")
triangle_undone = saved_beside(final, "link_erase.triangle_undone.dxf")
circle_erased = saved_beside(final, "link_erase.circle.dxf")
oops = saved_beside(final, "link_erase.oops.dxf")

failures = []


def equal(actual, expected, what):
    if actual != expected:
        failures.append(f"{what}:\n  got      {actual!r}\n  expected {expected!r}")


def model(path):
    """Every model-space entity by handle, as it shows, and every figure record's fields."""
    doc = ezdxf.readfile(path)
    entities = {e.dxf.handle: describe(e) for e in doc.modelspace()}
    records = {}
    for name in ("DICT_TRIANGLE", "DICT_RECTANGLE", "DICT_CIRCLE"):
        if name in doc.rootdict:
            for key, record in doc.rootdict[name].items():
                records[key] = record_tags(record)
    kinds = sorted(o.dxftype() for o in doc.objects if o.dxftype().startswith("AREADIC_"))
    return entities, records, kinds


def figure(checker, dictionary):
    """The one figure of a dictionary: its mark, its members and the handles of its rows' texts
    (sign, number, formula, area; the footer total is shared)."""
    found = checker.figures(dictionary)[0]
    handles = [v for c, v in record_tags(checker.doc.rootdict[dictionary][found.key]) if c == 300]
    rows = [handles[i:i + 4] for i in range(0, len(handles), 5)]
    return found, rows


def without_row_texts(lines, index):
    """A general table's described lines without the four texts of row `index`: its grid stays."""
    first = 2 + 9 * index + 5
    return lines[:first] + lines[first + 4:]


def schedules(path, rows, erased, total, records, what):
    """Both tables with the rows' texts (those of row `erased` gone) and the totals; the records
    left, each with its two rows."""
    s = Schedules(path)
    expected = [general_table(x, y, rows, total, TEXT_SIZE) for x, y in TABLES_AT]
    if erased is not None:
        expected = [without_row_texts(table, erased) for table in expected]
    s.equal(s.tables(), expected, f"{what}: both schedules")
    s.equal(sorted(s.records()), sorted(
        (dictionary, row[1], [], [list(row) + [total]] * 2) for dictionary, row in records),
        f"{what}: records and their rows")
    failures.extend(s.failures)


# Figure records keep the handles of their rows; read them from the drawing as it was drawn.
c = Checker(drawn)
triangle, triangle_rows = figure(c, "DICT_TRIANGLE")
rectangle, _ = figure(c, "DICT_RECTANGLE")
circle, circle_rows = figure(c, "DICT_CIRCLE")
header = c.doc.modelspace().query("INSERT[name=='AREA_TABLE']")[0].dxf.handle
ALL_RECORDS = [("DICT_TRIANGLE", TRIANGLE), ("DICT_RECTANGLE", RECTANGLE), ("DICT_CIRCLE", CIRCLE)]

# As drawn: 4.00 + 2.00 - 7.07 = -1.07 in both tables.
schedules(drawn, ROWS, None, "-1.07", ALL_RECORDS, "drawn")
entities, records, kinds = model(drawn)
equal(kinds, ["AREADIC_CIRCLE", "AREADIC_RECTANGLE", "AREADIC_TRIANGLE"], "drawn: records")

# Outline, value text and the table header erased: those three are gone, nothing else changed.
side_text = next(h for h in rectangle.shape_handles if entities.get(h, {}).get("text") == "1.00")
gone = {rectangle.key, side_text, header}
after, after_records, after_kinds = model(parts)
equal(sorted(after), sorted(set(entities) - gone), "parts erased: the entities left")
equal({h: after[h] for h in after}, {h: entities[h] for h in after},
      "parts erased: the rest unchanged")
equal((after_records, after_kinds), (records, kinds), "parts erased: the records unchanged")

# The triangle's mark erased: the mark and its row texts in both tables are gone, both totals
# fall by 4.00 to -1.07 - 4.00 = -5.07, its record is gone; outline, height line and texts
# stay as they were, extended data included.
schedules(triangle_erased, ROWS, 0, "-5.07", ALL_RECORDS[1:], "triangle's mark erased")
after, after_records, after_kinds = model(triangle_erased)
gone = {triangle.mark_handle} | {h for row in triangle_rows for h in row}
equal(sorted(after), sorted(set(entities) - gone), "triangle's mark erased: the entities left")
equal({h: after[h] for h in triangle.members if h in after},
      {h: entities[h] for h in triangle.members if h != triangle.mark_handle},
      "triangle's mark erased: its other entities")
equal(after_kinds, ["AREADIC_CIRCLE", "AREADIC_RECTANGLE"], "triangle's mark erased: records")

# The deducted circle's mark erased: -1.07 - (-7.07) = 6.00 in both tables.
schedules(circle_erased, ROWS, 2, "6.00", ALL_RECORDS[:2], "deducted mark erased")
after, _, after_kinds = model(circle_erased)
gone = {circle.mark_handle} | {h for row in circle_rows for h in row}
equal(sorted(after), sorted(set(entities) - gone), "deducted mark erased: the entities left")
equal(after_kinds, ["AREADIC_RECTANGLE", "AREADIC_TRIANGLE"], "deducted mark erased: records")

# OOPS: the mark is back as it was; rows, totals and records stay as after the erase.
schedules(oops, ROWS, 2, "6.00", ALL_RECORDS[:2], "OOPS")
back, back_records, back_kinds = model(oops)
equal(back.get(circle.mark_handle), entities[circle.mark_handle], "OOPS: the mark is back")
equal(sorted(back), sorted(set(after) | {circle.mark_handle}), "OOPS: only the mark came back")
equal(back_kinds, after_kinds, "OOPS: no record came back")

# A new radius text for the unlinked circle changes that text alone.
edited, edited_records, _ = model(final)
radius_text = circle.shape_handles[1]
equal(edited[radius_text]["text"], "2", "unlinked circle: the typed radius text")
edited[radius_text] = back[radius_text]
equal((edited, edited_records), (back, back_records), "unlinked circle: nothing else changed")

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(drawn, parts_undone, "U after erasing outline, value text and header")
expect_same_drawing(drawn, triangle_undone, "UNDO 1 after erasing the triangle's mark")
