"""The two triangles: members, roles, layers, texts, marks, records and groups."""
import sys

from figure_checks import Checker

APP = "AREA_TRIANGLE"
LAYOUT = [("POLYLINE", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("TEXT", "TYPE_VAL", "AREA_VALUE"),
          ("INSERT", "TYPE_MARK", "AREA_MARK")]

c = Checker(sys.argv[1])
first, second = c.figures("DICT_TRIANGLE")
for figure in (first, second):
    c.figure_layout(figure, APP, LAYOUT)
    c.equal(figure.shape_handles, figure.members[1:4], "record: height line, base and height text")
    c.equal(figure.rules, (1, 2, 0), "record: unit kind, digits, rounding")
    c.equal(figure.outline.is_closed, True, "closed outline")

outline = [tuple(v.dxf.location)[:2] for v in first.outline.vertices]
c.equal(outline, [(0, 0), (-1000, -2000), (3000, -2000)], "outline vertices")
height_line = first.entities[1]
c.near(height_line.dxf.start, (0, 0), "height line start")
c.near(height_line.dxf.end, (0, -2000), "height line ends at the foot")
# Base text above the base p2→p3 (left of its direction); height text right of p1→F (270°).
c.text(first.entities[2], "4.00", (1000, -1999), 0, "base text")
c.text(first.entities[3], "2.00", (1, -1000), 270, "height text")
c.mark(first, (666.6667, -1333.3333),
       {"BANGO1": "1", "BANGO2": "", "KT": "1", "SK": "( 4.00 2.00 8.00 4.00 )", "PM": "+"})
c.near(first.mark.dxf.xscale, 2.5 / 3, "mark scale")
c.mark(second, (666.6667, 4333.3333),
       {"BANGO1": "12", "BANGO2": "", "KT": "1", "SK": "( 2.00 1.00 2.00 1.00 )", "PM": "+"})
c.finish()
