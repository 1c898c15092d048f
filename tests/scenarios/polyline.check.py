"""The circle of area_circle and that of area_polyline differ in their handles alone."""
import sys

from figure_checks import Checker, describe_figure

c = Checker(sys.argv[1])
figures = c.figures("DICT_CIRCLE")
if c.equal(len(figures), 2, "both figures are circle records"):
    by_circle, by_polyline = figures
    c.equal(describe_figure(by_polyline), describe_figure(by_circle), "the two figures")
    c.expect(not set(by_circle.members) & set(by_polyline.members), "each has its own entities")
    c.equal(by_circle.entities[0].dxftype(), "CIRCLE", "the outline is a circle, not a polyline")
    c.near(by_circle.entities[0].dxf.radius, 1000, "radius of the picked point")
    c.text(by_circle.entities[2], "1.00", (1399.4, 2300.8), 36.8699, "radius text along p1→p2")
    c.equal(by_polyline.mark.attribs[2].dxf.text, "5", "shape code of the area_polyline mark")
c.equal([e.dxftype() for e in c.doc.modelspace() if e.dxftype() == "POLYLINE"], [],
        "no polyline is read or made")
c.finish()
