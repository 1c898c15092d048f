"""The figures of the 3D square and of the lot drawn from two starts: corners of their own lot,
heights from the widest corner to a foot on the base, areas that add up to the lot's; the last
lot's outlines and height lines on the current layer."""
import math
import sys

from figure_checks import Checker, attribs

SQUARE = ({(0, 0), (4000, 0), (4000, 3000), (0, 3000)}, 12.0)
SURVEYED = ({(26000, 0), (32000, 0), (32500, 5000), (20000, 5000), (19500, 0)}, 62.5)
CORNER_FIRST = ({(x, y + 10000) for x, y in SURVEYED[0]}, 62.5)

c = Checker(sys.argv[1])
figures = c.figures("DICT_TRIANGLE")
c.equal([attribs(f.mark)["BANGO1"] for f in figures], ["1", "2", "11", "12", "13", "21", "22", "23"],
        "labels")
for (lot, area), chosen in ((SQUARE, figures[:2]), (SURVEYED, figures[2:5]),
                            (CORNER_FIRST, figures[5:])):
    for figure in chosen:
        apex, start, end = [tuple(v.dxf.location)[:2] for v in figure.outline.vertices]
        c.expect({apex, start, end} <= lot, f"corners {apex} {start} {end} are not the lot's")
        foot = tuple(figure.entities[1].dxf.end)[:2]
        c.near(tuple(figure.entities[1].dxf.start)[:2], apex, "height line from the apex")
        along = ((foot[0] - start[0]) * (end[0] - start[0]) +
                 (foot[1] - start[1]) * (end[1] - start[1]))
        c.expect(0 <= along <= math.dist(start, end) ** 2, f"foot {foot} off the base")
    total = sum(float(attribs(f.mark)["SK"].split()[-2]) for f in chosen)
    c.near(total, area, "areas add up to the lot's", 0.02)
for figure in figures[5:]:
    c.equal([figure.outline.dxf.layer, figure.entities[1].dxf.layer], ["0", "0"],
            "current layer for the missing line layer")
c.finish()
