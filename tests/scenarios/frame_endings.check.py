"""Nothing of the ended commands stays in the drawing."""
import sys

from figure_checks import Checker

c = Checker(sys.argv[1])
live = [e.dxftype() for e in c.doc.modelspace()]
c.equal(live, [], "model space after the ended commands")
for name in ("DICT_TRIANGLE", "DICT_RECTANGLE", "DICT_CIRCLE"):
    c.equal(len(c.figures(name)), 0, f"records in {name}")
c.finish()
