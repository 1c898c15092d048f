"""Circle and sector linkage: a quadrant grip changes the radius, the centre grip moves circle and
mark, a typed radius text changes the area, a sector's end grip dragged past the 0 direction
changes the sweep; every value, the mark, the row and the total follow, and each undone drag
gives the drawing back."""
import math
import sys

from figure_checks import Checker, sideways
from linkage_checks import expect_same_drawing, saved_beside
from schedule_checks import Schedules, general_table

TEXT_SIZE = 2.5
LIFT = TEXT_SIZE / 3  # a value text sits TEXTSIZE / 3 to the left of its segment
MARK_SCALE = 2.5 / 3 * 100
# Attribute offsets of the AREA1 block (block units) that follow the mark when it moves.
ATTRIBUTE_OFFSETS = {"BANGO1": 0.0, "BANGO2": 0.0, "KT": -6.0, "SK": -8.5, "PM": -11.0}
TABLE_AT = (0, -30000)
SECTOR_CENTRE = (10000, 0)

final = sys.argv[1]
drawn = saved_beside(final, "link_circle_sector.drawn.dxf")
circle_dragged = saved_beside(final, "link_circle_sector.circle.dxf")
circle_undone = saved_beside(final, "link_circle_sector.circle_undone.dxf")
moved = saved_beside(final, "link_circle_sector.moved.dxf")
moved_undone = saved_beside(final, "link_circle_sector.moved_undone.dxf")
edited = saved_beside(final, "link_circle_sector.edited.dxf")
sector_dragged = saved_beside(final, "link_circle_sector.sector.dxf")
sector_undone = saved_beside(final, "link_circle_sector.sector_undone.dxf")
wide = saved_beside(final, "link_circle_sector.wide.dxf")

# Rows of the schedule (sorted by label): sign, number, formula, area.
CIRCLE_1 = ("", "1", "1.00x1.00x3.14", "3.14")
CIRCLE_1_WIDE = ("", "1", "1.50x1.50x3.14", "7.07")  # 1.5 x 1.5 x 3.14 = 7.065 -> 7.07
CIRCLE_2 = ("", "2", "20.00x20.00x3.14", "1256.00")
CIRCLE_2_TYPED = ("", "2", "10x10x3.14", "314.00")  # the typed text stays as typed
# A sector of radius 2.00: 2.00 x 2.00 x 3.14 = 12.56 times the angle / 360.
SECTOR = ("", "3", "2.00x2.00x3.14x53.13/360", "1.85")  # 12.56 x 53.13 / 360 = 1.8536
SECTOR_126 = ("", "3", "2.00x2.00x3.14x126.87/360", "4.43")  # 12.56 x 126.87 / 360 = 4.4264
SECTOR_216 = ("", "3", "2.00x2.00x3.14x216.87/360", "7.57")  # 12.56 x 216.87 / 360 = 7.5664


def by_label(checker, dictionary):
    return {f.mark.attribs[0].dxf.text: f for f in checker.figures(dictionary)}


def entity(checker, handle):
    return checker.doc.entitydb.get(handle)


def mark(c, figure, point, value_list, what):
    """The mark at `point` with its value list, every attribute moved along with it."""
    c.mark(figure, point, {"BANGO1": figure.mark.attribs[0].dxf.text, "BANGO2": "",
                           "KT": figure.mark.attribs[2].dxf.text, "SK": value_list, "PM": "+"},
           what)
    for attribute in figure.mark.attribs:
        offset = ATTRIBUTE_OFFSETS[attribute.dxf.tag] * MARK_SCALE
        c.near(attribute.dxf.insert, (point[0], point[1] + offset),
               f"{what}: attribute {attribute.dxf.tag} kept its place on the mark")


def circle(c, figure, centre, radius, radius_text, value_list, what, direction=0.0):
    """Outline, radius line along `direction` (degrees), radius text lifted off its middle, mark
    at the centre."""
    c.near(list(figure.outline.dxf.center) + [figure.outline.dxf.radius],
           (centre[0], centre[1], 0, radius), f"{what}: circle")
    line, text = (entity(c, h) for h in figure.shape_handles)
    end = sideways(centre, direction, radius)
    c.near(list(line.dxf.start) + list(line.dxf.end),
           (centre[0], centre[1], 0, end[0], end[1], 0), f"{what}: radius line")
    middle = sideways(centre, direction, radius / 2)
    c.text(text, radius_text, sideways(middle, direction + 90, LIFT), direction % 360,
           f"{what}: radius text")
    mark(c, figure, centre, value_list, f"{what}: mark")


def sector(c, figure, end_point, end_degrees, angle_text, angle_rotation, mark_point, value_list,
           what):
    """A sector round 10000,0 of radius 2000 from 270 degrees to `end_degrees`."""
    cx, cy = SECTOR_CENTRE
    outline = figure.outline
    c.near(list(outline.dxf.center) + [outline.dxf.radius, outline.dxf.start_angle,
                                       outline.dxf.end_angle % 360],
           (cx, cy, 0, 2000, 270, end_degrees), f"{what}: arc")
    start_line, end_line, angle_arc, radius_text, angle = (entity(c, h)
                                                           for h in figure.shape_handles)
    c.near(list(start_line.dxf.start) + list(start_line.dxf.end), (cx, cy, 0, cx, -2000, 0),
           f"{what}: start radius line")
    c.near(list(end_line.dxf.start) + list(end_line.dxf.end),
           (cx, cy, 0, end_point[0], end_point[1], 0), f"{what}: end radius line")
    # A tenth of the drawn radius, the outline's angles.
    c.near(list(angle_arc.dxf.center) + [angle_arc.dxf.radius, angle_arc.dxf.start_angle,
                                         angle_arc.dxf.end_angle % 360],
           (cx, cy, 0, 200, 270, end_degrees), f"{what}: angle arc")
    # Along the start radius (270 degrees), lifted to its left (towards +x).
    c.text(radius_text, "2.00", (cx + LIFT, -1000), 270, f"{what}: radius text")
    # Beside the angle arc: TEXTSIZE / 3 + 200 from the centre, a quarter turn left of B->A.
    c.text(angle, angle_text, sideways(SECTOR_CENTRE, angle_rotation + 90, LIFT + 200),
           angle_rotation, f"{what}: angle text")
    mark(c, figure, mark_point, value_list, f"{what}: mark")


def table(path, rows, total, what):
    s = Schedules(path)
    s.equal(s.tables(), [general_table(*TABLE_AT, rows, total, TEXT_SIZE)], f"{what}: schedule")
    s.equal(sorted(s.records()), sorted(
        [("DICT_CIRCLE", row[1], [], [list(row) + [total]]) for row in rows[:2]] +
        [("DICT_SECTOR", "3", [], [list(rows[2]) + [total]])]), f"{what}: rows of the records")
    return s.failures


failures = []

# As drawn: 3.14 + 1256.00 + 1.85 = 1260.99.
c = Checker(drawn)
circles = by_label(c, "DICT_CIRCLE")
circle(c, circles["1"], (0, 0), 1000, "1.00", "( 1.00 3.14 )", "drawn, circle 1")
circle(c, circles["2"], (-10000, 0), 20, "20.00", "( 20.00 1256.00 )", "drawn, circle 2")
# Sweep 323.13 - 270 = 53.13; B->A points at 206.57 degrees; the chord middle (10800, -1600)
# lies inside the sweep, so the mark is at 1000 along 296.57 degrees.
sector(c, by_label(c, "DICT_SECTOR")["3"], (11600, -1200), 323.130102, "53.13", 206.565051,
       sideways(SECTOR_CENTRE, 296.565051, 1000), "( 2.00 53.13 1.85 )", "drawn, sector")
failures += c.failures + table(drawn, [CIRCLE_1, CIRCLE_2, SECTOR], "1260.99", "drawn")

# Quadrant -1000,0 dragged to -1200,-900: radius 1500, the radius line still along 0 degrees,
# the mark at the centre; total 1260.99 - 3.14 + 7.07 = 1264.92.
c = Checker(circle_dragged)
circle(c, by_label(c, "DICT_CIRCLE")["1"], (0, 0), 1500, "1.50", "( 1.50 7.07 )",
       "dragged circle")
failures += c.failures + table(circle_dragged, [CIRCLE_1_WIDE, CIRCLE_2, SECTOR], "1264.92",
                               "dragged circle")

# Centre grip dragged from 0,0 to 300,400: the circle and its mark move there; the radius line
# keeps the direction from the new centre to its old end 1000,0, (700, -400) at -29.74 degrees;
# values, row and total stay.
c = Checker(moved)
circle(c, by_label(c, "DICT_CIRCLE")["1"], (300, 400), 1000, "1.00", "( 1.00 3.14 )",
       "moved circle", math.degrees(math.atan2(-400, 700)))
failures += c.failures + table(moved, [CIRCLE_1, CIRCLE_2, SECTOR], "1260.99", "moved circle")

# Radius text typed over with 10 (millimetres): 10 x 10 x 3.14 = 314.00; the radius line and
# the mark stay; total 1260.99 - 1256.00 + 314.00 = 318.99.
c = Checker(edited)
circle(c, by_label(c, "DICT_CIRCLE")["2"], (-10000, 0), 20, "10", "( 10 314.00 )",
       "typed radius")
failures += c.failures + table(edited, [CIRCLE_1, CIRCLE_2_TYPED, SECTOR], "318.99",
                               "typed radius")

# End grip dragged to 36.87 degrees, below the start 270: sweep 36.87 + 360 - 270 = 126.87.
# B->A = (-1600, -3200) points at 243.43 degrees; the mark is on the bisector at 333.43 degrees;
# total 318.99 - 1.85 + 4.43 = 321.57.
c = Checker(sector_dragged)
sector(c, by_label(c, "DICT_SECTOR")["3"], (11600, 1200), 36.869898, "126.87", 243.434949,
       sideways(SECTOR_CENTRE, 333.434949, 1000), "( 2.00 126.87 4.43 )", "sector past 0")
failures += c.failures + table(sector_dragged, [CIRCLE_1, CIRCLE_2_TYPED, SECTOR_126],
                               "321.57", "sector past 0")

# End grip dragged to 126.87 degrees: sweep 126.87 + 360 - 270 = 216.87. B->A = (1200, -3600)
# points at 288.43 degrees; the chord middle (9400, -200) lies outside the sweep, so the mark
# goes beyond the centre, along 18.43 degrees; total 318.99 - 1.85 + 7.57 = 324.71.
c = Checker(wide)
sector(c, by_label(c, "DICT_SECTOR")["3"], (8800, 1600), 126.869898, "216.87", 288.434949,
       sideways(SECTOR_CENTRE, 18.434949, 1000), "( 2.00 216.87 7.57 )", "sector over 180")
failures += c.failures + table(wide, [CIRCLE_1, CIRCLE_2_TYPED, SECTOR_216], "324.71",
                               "sector over 180")

for failure in failures:
    print("FAILED: " + failure)
if failures:
    sys.exit(1)
expect_same_drawing(drawn, circle_undone, "UNDO 1 after the quadrant drag")
expect_same_drawing(drawn, moved_undone, "UNDO 1 after the centre drag")
expect_same_drawing(edited, sector_undone, "U after the end grip drag")
expect_same_drawing(edited, final, "UNDO 1 after the drag over 180 degrees")
