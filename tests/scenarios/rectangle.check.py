"""The worked rectangle: fourth corner, diagonals, texts inside the figure, mark at the centre."""
import sys

from figure_checks import Checker

APP = "AREA_RECTANGLE"
LAYOUT = [("POLYLINE", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("LINE", "TYPE_SUB", "AREA_LINE"), ("TEXT", "TYPE_VAL", "AREA_VALUE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("INSERT", "TYPE_MARK", "AREA_MARK")]

c = Checker(sys.argv[1])
figures = c.figures("DICT_RECTANGLE")
c.equal(len(figures), 1, "the refused rectangle has no record")
(figure,) = figures[:1]
c.figure_layout(figure, APP, LAYOUT)
c.equal(figure.shape_handles, figure.members[1:5], "record: diagonals, base and height text")
outline = [tuple(v.dxf.location)[:2] for v in figure.outline.vertices]
c.equal(outline, [(0, 1000), (0, 0), (2000, 0), (2000, 1000)], "outline with the fourth corner")
right, left = figure.entities[1], figure.entities[2]
c.near(list(right.dxf.start) + list(right.dxf.end), (0, 1000, 0, 2000, 0, 0), "right diagonal")
c.near(list(left.dxf.start) + list(left.dxf.end), (0, 0, 0, 2000, 1000, 0), "left diagonal")
c.text(figure.entities[3], "2.00", (1000, 1), 0, "base text")
c.text(figure.entities[4], "1.00", (1, 500), 270, "height text")
c.mark(figure, (1000, 500),
       {"BANGO1": "1", "BANGO2": "", "KT": "2", "SK": "( 2.00 1.00 2.00 )", "PM": "+"})
all_lines = [e for e in c.doc.modelspace() if e.dxftype() == "LINE"]
c.equal(len(all_lines), 2, "nothing drawn for the refused rectangle")
c.finish()
