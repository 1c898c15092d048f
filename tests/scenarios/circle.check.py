"""Circle figures from both functions: all in DICT_CIRCLE with shape code 5."""
import sys

from figure_checks import Checker

APP = "AREA_CIRCLE"
LAYOUT = [("CIRCLE", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("INSERT", "TYPE_MARK", "AREA_MARK")]

c = Checker(sys.argv[1])
figures = c.figures("DICT_CIRCLE")
c.equal(len(figures), 4, "circle records")
for figure in figures:
    c.figure_layout(figure, APP, LAYOUT)
    c.equal(figure.shape_handles, figure.members[1:3], "record: radius line, radius text")
    c.near(figure.mark.dxf.insert, figure.outline.dxf.center, "mark at the centre")
    c.equal(c.doc.entitydb[figure.mark_handle].attribs[2].dxf.text, "5", "shape code")
first, _, by_polyline, mm = figures
c.near(first.outline.dxf.radius, 1000, "radius in drawing units")
c.text(first.entities[2], "1.00", (500, 1), 0, "radius text")
c.text(by_polyline.entities[2], "1.00", (500, 1), 0, "the same picks give the same text")
c.text(mm.entities[2], "1000.00", (-1, -4500), 90, "radius text along p1→p2 (north)")
c.equal(mm.rules, (2, 2, 0), "millimetre rules in the record")
c.finish()
