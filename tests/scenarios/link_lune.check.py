"""Lune linkage: an end grip dragged past the 0 direction rebuilds every line, text, the mark,
the row and the total; drags to a half circle or beyond change the arc alone; a typed chord text
changes the area but not the height, which comes from the arc."""
import sys

from figure_checks import Checker, sideways
from linkage_checks import contents, expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table

TEXT_SIZE = 2.5
LIFT = TEXT_SIZE / 3  # a value text sits TEXTSIZE / 3 to the left of its segment
MARK_SCALE = 2.5 / 3 * 100
ATTRIBUTE_OFFSETS = {"BANGO1": 0.0, "BANGO2": 0.0, "KT": -6.0, "SK": -8.5, "PM": -11.0}
TABLE_AT = (0, -30000)
CENTRE = (0, 0)
A = (0, -2000)  # the start of the arc (270 degrees) stays where it was drawn

final = sys.argv[1]
drawn = saved_beside(final, "link_lune.drawn.dxf")
stretched = saved_beside(final, "link_lune.stretched.dxf")
near_half = saved_beside(final, "link_lune.near_half.dxf")
near_half_undone = saved_beside(final, "link_lune.near_half_undone.dxf")
over_half = saved_beside(final, "link_lune.over_half.dxf")
over_half_undone = saved_beside(final, "link_lune.over_half_undone.dxf")

failures = []


def segment(c, line, start, end, what):
    c.near(list(line.dxf.start)[:2] + list(line.dxf.end)[:2], list(start) + list(end), what)


def lune(path, end_degrees, b, m, chord_text, angle_text, b_to_a, value_list, row, total, what):
    """The lune round the origin of radius 2000 from 270 degrees to `end_degrees` (end point b,
    chord middle m), its row and the schedule's total."""
    c = Checker(path)
    figure = c.figures("DICT_LUNE")[0]
    outline = figure.outline
    c.near(list(outline.dxf.center)[:2] + [outline.dxf.radius, outline.dxf.start_angle,
                                           outline.dxf.end_angle % 360],
           (0, 0, 2000, 270, end_degrees), f"{what}: arc")
    start, end, angle_arc, chord, height, radius_text, angle, chord_label = (
        c.doc.entitydb.get(h) for h in figure.shape_handles)
    segment(c, start, CENTRE, A, f"{what}: start radius line")
    segment(c, end, CENTRE, b, f"{what}: end radius line")
    segment(c, chord, A, b, f"{what}: chord A->B")
    segment(c, height, CENTRE, m, f"{what}: height line to the chord's middle")
    c.near(list(angle_arc.dxf.center)[:2] + [angle_arc.dxf.radius, angle_arc.dxf.start_angle,
                                             angle_arc.dxf.end_angle % 360],
           (0, 0, 200, 270, end_degrees), f"{what}: angle arc of a tenth of the radius")
    c.text(radius_text, "2.00", (LIFT, -1000), 270, f"{what}: radius text along c->A")
    # Along B->A, lifted to its left: away from the centre.
    c.text(chord_label, chord_text, sideways(m, b_to_a + 90, LIFT), b_to_a,
           f"{what}: chord text")
    c.text(angle, angle_text, sideways(CENTRE, b_to_a + 90, LIFT + 200), b_to_a,
           f"{what}: angle text")
    # Two thirds of the radius towards the chord's middle, every attribute along with it.
    point = sideways(CENTRE, b_to_a + 90, 2000 * 2 / 3)
    c.mark(figure, point, {"BANGO1": "1", "BANGO2": "", "KT": "6", "SK": value_list, "PM": "+"},
           f"{what}: mark")
    for attribute in figure.mark.attribs:
        c.near(attribute.dxf.insert,
               (point[0], point[1] + ATTRIBUTE_OFFSETS[attribute.dxf.tag] * MARK_SCALE),
               f"{what}: attribute {attribute.dxf.tag} on the mark")
    s = Schedules(path)
    s.equal(s.tables(), [general_table(*TABLE_AT, [row], total, TEXT_SIZE)], f"{what}: schedule")
    s.equal(s.records(), [("DICT_LUNE", "1", [], [list(row) + [total]])], f"{what}: record rows")
    return c.failures + s.failures, outline.dxf.handle


# As drawn, 270 to 323.13: chord |(1600, 800)| = 1788.85 -> 1.79, middle (800, -1600) at
# 1788.85 -> 1.79 from the centre; 4 x 3.14 x 53.13 / 360 - 1.79 x 1.79 x 0.5 = 0.2516 -> 0.25.
# B->A = (-1600, -800) points at 206.57 degrees.
found, _ = lune(drawn, 323.130102, (1600, -1200), (800, -1600), "1.79", "53.13", 206.565051,
                "( 2.00 53.13 1.79 1.79 0.25 )",
                ("", "1", "2.00x2.00x3.14x53.13/360-1.79x1.79x0.5", "0.25"), "0.25", "drawn")
failures += found

# End grip dragged to 36.87 degrees, below the start: sweep 36.87 + 360 - 270 = 126.87.
# Chord |(1600, 3200)| = 3577.71 -> 3.58; middle (800, -400) at 894.43 -> 0.89;
# 4 x 3.14 x 126.87 / 360 - 3.58 x 0.89 x 0.5 = 4.4264 - 1.5931 = 2.8333 -> 2.83.
# B->A = (-1600, -3200) points at 243.43 degrees.
STRETCHED = ((1600, 1200), (800, -400), "126.87", 243.434949)
found, outline = lune(stretched, 36.869898, *STRETCHED[:2], "3.58", *STRETCHED[2:],
                      "( 2.00 126.87 3.58 0.89 2.83 )",
                      ("", "1", "2.00x2.00x3.14x126.87/360-3.58x0.89x0.5", "2.83"), "2.83",
                      "past 0 degrees")
failures += found

# Dragged to 10,2000 (89.71 degrees: a sweep of 179.71, 0.005 rad short of a half circle) and
# to -1200,1600 (126.87 degrees: a sweep of 216.87): refused, only the arc took the drag.
before = contents(stretched)
for path, end_degrees, what in ((near_half, 89.713523, "179.71 degrees"),
                                (over_half, 126.869898, "216.87 degrees")):
    after = contents(path)
    changed = sorted(h for h in set(before) | set(after) if before.get(h) != after.get(h))
    if changed != [outline]:
        failures.append(f"{what}: changed {changed}, expected the arc {outline} alone")
    arc = Checker(path).doc.entitydb.get(outline)
    if abs(arc.dxf.end_angle % 360 - end_degrees) > 1e-3:
        failures.append(f"{what}: the arc ends at {arc.dxf.end_angle}, expected {end_degrees}")

# Chord text typed over with 4.00: 4.4264 - 4.00 x 0.89 x 0.5 = 2.6464 -> 2.65; the height
# 0.89 still comes from the arc, and nothing moves.
found, _ = lune(final, 36.869898, *STRETCHED[:2], "4.00", *STRETCHED[2:],
                "( 2.00 126.87 4.00 0.89 2.65 )",
                ("", "1", "2.00x2.00x3.14x126.87/360-4.00x0.89x0.5", "2.65"), "2.65",
                "typed chord")
failures += found

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(stretched, near_half_undone, "U after the drag to 179.71 degrees")
expect_same_drawing(stretched, over_half_undone, "U after the drag to 216.87 degrees")
