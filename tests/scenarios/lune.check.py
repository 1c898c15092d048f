"""Lunes: chord and height lines, the chord text outside the chord, the record's text order."""
import sys

from figure_checks import Checker

APP = "AREA_LUNE"
SUB = ("LINE", "TYPE_SUB", "AREA_LINE")
VALUE = ("TEXT", "TYPE_VAL", "AREA_VALUE")
LAYOUT = [("ARC", "TYPE_OUT", "AREA_LINE"), SUB, SUB, ("ARC", "TYPE_SUB", "AREA_LINE"), SUB, SUB,
          VALUE, VALUE, VALUE, ("INSERT", "TYPE_MARK", "AREA_MARK")]

c = Checker(sys.argv[1])
figures = c.figures("DICT_LUNE")
c.equal(len(figures), 2, "refused lunes have no record")
for figure in figures:
    c.figure_layout(figure, APP, LAYOUT)
    m = figure.members
    c.equal(figure.shape_handles, m[1:7] + [m[8], m[7]],
            "record: lines, angle arc, radius text, angle text, chord text")
worked = figures[0]
chord, height = worked.entities[4], worked.entities[5]
c.near(list(chord.dxf.start) + list(chord.dxf.end), (2000, 0, 0, 0, 2000, 0), "chord p1→p3")
c.near(list(height.dxf.start) + list(height.dxf.end), (0, 0, 0, 1000, 1000, 0), "centre to M")
c.text(worked.entities[6], "2.00", (1000, 1), 0, "radius text")
c.text(worked.entities[7], "2.83", (1000.7071, 1000.7071), 315, "chord text outside the chord")
c.text(worked.entities[8], "90.00", (142.1285, 142.1285), 315, "angle text")
c.mark(worked, (942.8090, 942.8090),
       {"BANGO1": "1", "BANGO2": "", "KT": "6", "SK": "( 2.00 90.00 2.83 1.41 1.14 )", "PM": "+"})
c.finish()
