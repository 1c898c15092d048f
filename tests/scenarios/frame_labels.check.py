"""Layer fallback, label attributes and the mark's scale in the saved drawing."""
import sys

from figure_checks import Checker, attribs

c = Checker(sys.argv[1])
triangles = c.figures("DICT_TRIANGLE")
c.equal(len(triangles), 3, "triangles")
for figure in triangles:
    layers = {e.dxf.layer for e in figure.entities}
    c.equal(layers, {"0"}, "missing layers fall back to the current layer")
    c.near(figure.mark.dxf.xscale, 500.0, "mark scale 2.5 / 3 x 600")
labels = [(attribs(f.mark)["BANGO1"], attribs(f.mark)["BANGO2"]) for f in triangles]
c.equal(labels[0], ("イ1", ""), "a two-character label goes to BANGO1")
c.equal(labels[1], ("", "ABC"), "a three-character label goes to BANGO2")
c.equal(labels[2], ("", "長" * 255), "an over-long label is kept to 255 characters")
rectangles = c.figures("DICT_RECTANGLE")
c.equal([attribs(f.mark)["BANGO1"] for f in rectangles], ["Z", "A"], "letter labels")
c.equal(rectangles[0].rules, (2, 0, 0), "record rules")
circles = c.figures("DICT_CIRCLE")
c.equal(circles[0].rules, (1, 1, 1), "record rules of the rounded-up circle")
c.equal(attribs(circles[1].mark)["BANGO2"], "Q" * 255, "the cut default is the label")
c.finish()
