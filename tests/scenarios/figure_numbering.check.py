"""Labels of the numbered circles, their layers, and the undone third figure's record gone."""
import sys

from figure_checks import Checker, attribs

c = Checker(sys.argv[1])
circles = c.figures("DICT_CIRCLE")
labels = [(attribs(f.mark)["BANGO1"], attribs(f.mark)["BANGO2"]) for f in circles]
c.equal(labels, [("イ1", ""), ("7", ""), ("イ1", ""), ("B", "")],
        "labels; the undone 北側 circle has no record")
c.equal(circles[0].outline.dxf.layer, "0", "the missing long layer falls back to the current one")
c.equal(circles[2].outline.dxf.layer, "AREA_LINE", "the second run's line layer")
c.equal(len(c.doc.groups), 4, "one group per remaining figure")
c.finish()
