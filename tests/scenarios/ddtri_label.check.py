"""ddtri_draw's figures: the same as autotri_draw's on the same corners, nothing left of the
cancelled one, and the one given under the moved UCS in world coordinates."""
import sys

from figure_checks import Checker, attribs

APP = "AREA_TRIANGLE"
LAYOUT = [("POLYLINE", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("TEXT", "TYPE_VAL", "AREA_VALUE"),
          ("INSERT", "TYPE_MARK", "AREA_MARK")]

c = Checker(sys.argv[1])
figures = c.figures("DICT_TRIANGLE")
c.equal(len(figures), 3, "figures (the cancelled one left nothing)")
c.equal(len(c.doc.modelspace()), 1 + 3 * len(LAYOUT), "the lot and three figures' entities")
auto, given, moved = figures
for figure in figures:
    c.figure_layout(figure, APP, LAYOUT)
corners = [[tuple(v.dxf.location)[:2] for v in f.outline.vertices] for f in figures]
c.equal(corners[1], corners[0], "ddtri_draw keeps the corners in the order given")
c.equal(attribs(given.mark)["SK"], attribs(auto.mark)["SK"], "same values as autotri_draw")
c.equal(given.rules, auto.rules, "same value rules")
c.equal(corners[2], [(10000, 2000), (10000, 0), (11000, 0)], "UCS points in world coordinates")
c.near(moved.entities[1].dxf.end, (10000, 0), "the height's foot")
c.finish()
