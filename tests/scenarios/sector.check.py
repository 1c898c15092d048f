"""Sectors: arcs counter-clockwise, radius and angle texts, marks on the bisector."""
import sys

from figure_checks import Checker

APP = "AREA_SECTOR"
LAYOUT = [("ARC", "TYPE_OUT", "AREA_LINE"), ("LINE", "TYPE_SUB", "AREA_LINE"),
          ("LINE", "TYPE_SUB", "AREA_LINE"), ("ARC", "TYPE_SUB", "AREA_LINE"),
          ("TEXT", "TYPE_VAL", "AREA_VALUE"), ("TEXT", "TYPE_VAL", "AREA_VALUE"),
          ("INSERT", "TYPE_MARK", "AREA_MARK")]


def arc(entity):
    angles = [round(angle, 6) % 360 for angle in (entity.dxf.start_angle, entity.dxf.end_angle)]
    return list(entity.dxf.center)[:2] + [entity.dxf.radius] + angles


c = Checker(sys.argv[1])
figures = c.figures("DICT_SECTOR")
c.equal(len(figures), 3, "sector records")
for figure in figures:
    c.figure_layout(figure, APP, LAYOUT)
    c.equal(figure.shape_handles, figure.members[1:6], "record: radius lines, angle arc, texts")
for figure in figures[:2]:
    c.near(arc(figure.outline), (0, 0, 2000, 0, 90), "outline arc from 0 to 90 degrees")
    c.near(arc(figure.entities[3]), (0, 0, 200, 0, 90), "angle arc of a tenth of the radius")
    start, end = figure.entities[1], figure.entities[2]
    c.near(list(start.dxf.end) + list(end.dxf.end), (2000, 0, 0, 0, 2000, 0), "radius lines")
    c.text(figure.entities[4], "2.00", (1000, 1), 0, "radius text")
    c.text(figure.entities[5], "90.00", (142.1285, 142.1285), 315, "angle text on the bisector")
    c.mark(figure, (707.1068, 707.1068),
           {"BANGO1": figure.mark.attribs[0].dxf.text, "BANGO2": "", "KT": "4",
            "SK": "( 2.00 90.00 3.14 )", "PM": "+"})
large = figures[2]
c.near(arc(large.outline), (10000, 0, 2000, 90, 0), "270-degree arc from 90 round to 0")
c.text(large.entities[5], "270.00", (10000 - 142.1285, -142.1285), 135, "angle text")
c.near(large.mark.dxf.insert, (10000 - 707.1068, -707.1068), "mark inside the large sector")
c.finish()
