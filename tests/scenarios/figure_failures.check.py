"""Nothing of the abandoned and failed figures stays: no entity, record or group."""
import sys

from figure_checks import Checker, FIGURE_DICTIONARIES

c = Checker(sys.argv[1])
c.equal([e.dxftype() for e in c.doc.modelspace()], [], "model space")
for name in FIGURE_DICTIONARIES:
    c.equal(len(c.figures(name)), 0, f"records in {name}")
c.equal(len(c.doc.groups), 0, "groups")
c.finish()
