"""The square's, the pentagon's and the moved UCS's figures (the lettered lot was undone): their
corners are the lot's, each height runs from the widest corner to a foot on the base, and the
areas add up to the lot's."""
import math
import sys

from figure_checks import Checker, attribs

APP = "AREA_TRIANGLE"
LAYOUT = [("POLYLINE", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("TEXT", "TYPE_VAL", "AREA_VALUE"),
          ("INSERT", "TYPE_MARK", "AREA_MARK")]
SQUARE = {(0, 0), (10000, 0), (10000, 10000), (0, 10000)}
PENTAGON = {(20000, 0), (28000, 0), (28000, 6000), (24000, 9000), (20000, 6000)}
MOVED_UCS = {(0, 70000), (3000, 70000), (0, 74000)}

c = Checker(sys.argv[1])
figures = c.figures("DICT_TRIANGLE")
c.equal([attribs(f.mark)["BANGO1"] for f in figures], ["1", "2", "5", "6", "7", "1"], "labels")
for figure in figures:
    c.figure_layout(figure, APP, LAYOUT)
    apex, start, end = [tuple(v.dxf.location)[:2] for v in figure.outline.vertices]
    foot = tuple(figure.entities[1].dxf.end)[:2]
    c.near(tuple(figure.entities[1].dxf.start)[:2], apex, "height line from the apex")
    along = (foot[0] - start[0]) * (end[0] - start[0]) + (foot[1] - start[1]) * (end[1] - start[1])
    c.expect(0 <= along <= math.dist(start, end) ** 2, f"foot {foot} off the base {start}-{end}")
    centroid = [sum(p[i] for p in (apex, start, end)) / 3 for i in (0, 1)]
    c.near(figure.mark.dxf.insert, centroid, "mark at the centroid")
lots = ((SQUARE, 100.0, figures[:2]), (PENTAGON, 60.0, figures[2:5]), (MOVED_UCS, 6.0, figures[5:]))
for lot, area, chosen in lots:
    for figure in chosen:
        corners = {tuple(v.dxf.location)[:2] for v in figure.outline.vertices}
        c.expect(corners <= lot, f"corners {corners} are not the lot's")
    total = sum(float(attribs(f.mark)["SK"].split()[-2]) for f in chosen)
    c.near(total, area, "areas add up to the lot's", 0.05)
c.finish()
