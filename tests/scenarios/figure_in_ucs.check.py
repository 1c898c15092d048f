"""The circle picked in the turned UCS, in world coordinates."""
import sys

from figure_checks import Checker

c = Checker(sys.argv[1])
(figure,) = c.figures("DICT_CIRCLE")
c.near(figure.outline.dxf.center, (1000, 1000), "circle centre in the world")
line = figure.entities[1]
c.near(list(line.dxf.start) + list(line.dxf.end), (1000, 1000, 0, 1000, 2000, 0), "radius line")
c.text(figure.entities[2], "1.00", (999, 1500), 90, "radius text along the world's +Y")
c.near(figure.mark.dxf.insert, (1000, 1000), "mark at the centre")
c.finish()
