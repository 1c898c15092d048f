"""The worked trapezoid: height line to the foot, three texts, the mark between the bases."""
import sys

from figure_checks import Checker

APP = "AREA_TRAPEZOID"
LAYOUT = [("POLYLINE", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("TEXT", "TYPE_VAL", "AREA_VALUE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("INSERT", "TYPE_MARK", "AREA_MARK")]

c = Checker(sys.argv[1])
figures = c.figures("DICT_TRAPEZOID")
c.equal(len(figures), 1, "refused trapezoids have no record")
figure = figures[0]
c.figure_layout(figure, APP, LAYOUT)
c.equal(figure.shape_handles, figure.members[1:5], "record: height line, lower, upper, height")
height = figure.entities[1]
c.near(list(height.dxf.start) + list(height.dxf.end), (1000, 2000, 0, 1000, 0, 0), "p4 to F")
c.text(figure.entities[2], "2.00", (2000, 2001), 0, "lower base text")
c.text(figure.entities[3], "4.00", (2000, 1), 0, "upper base text")
c.text(figure.entities[4], "2.00", (1001, 1000), 270, "height text")
c.mark(figure, (2000, 1000),
       {"BANGO1": "1", "BANGO2": "", "KT": "3", "SK": "( 2.00 4.00 2.00 6.00 )", "PM": "+"})
c.finish()
