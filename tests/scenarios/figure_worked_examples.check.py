"""The figures of the remaining worked examples: feet, corners, arcs, texts and marks."""
import sys

from figure_checks import Checker

c = Checker(sys.argv[1])
mm, square, obtuse = c.figures("DICT_TRIANGLE")
c.near(obtuse.entities[1].dxf.end, (5000, 0), "obtuse: the height line ends beyond the base")
c.text(mm.entities[2], "4000.00", (1000, -1999), 0, "millimetre base text")
c.mark(square, (1110, 1110), {"BANGO1": "1", "BANGO2": "", "KT": "1",
                              "SK": "( 3.33 3.33 11.09 5.54 )", "PM": "+"})

clockwise, three_quarters, skewed, ten_by_five = c.figures("DICT_RECTANGLE")
c.text(clockwise.entities[3], "1.00", (-1, -9500), 90, "clockwise: base text along p2→p3")
c.text(clockwise.entities[4], "2.00", (1000, -10001), 180, "clockwise: height text along p1→p2")
corners = [tuple(round(x, 4) for x in v.dxf.location)[:2] for v in skewed.outline.vertices]
c.equal(corners, [(-8.7265, -29000.0381), (0, -30000), (1000, -30000), (991.2735, -29000.0381)],
        "90.5 degrees: the fourth corner makes a parallelogram")
c.near(skewed.mark.dxf.insert, (495.6368, -29500.0190), "90.5 degrees: mark between p1 and p3")
c.mark(ten_by_five, (5000, -37500), {"BANGO1": "4", "BANGO2": "", "KT": "2",
                                     "SK": "( 10.00 5.00 50.00 )", "PM": "+"})

right, beyond = c.figures("DICT_TRAPEZOID")
c.near(list(right.entities[1].dxf.start) + list(right.entities[1].dxf.end),
       (10000, 2000, 0, 10000, 0, 0), "right trapezoid: the height line is the side p4p1")
c.near(beyond.mark.dxf.insert, (16000, -9000), "mark above the lower base's middle")

across, whole = c.figures("DICT_SECTOR")
c.near([across.outline.dxf.start_angle, across.outline.dxf.end_angle], (350, 10),
       "the arc runs from 350 to 10 degrees")
c.text(across.entities[5], "20.00", (30201, 0), 270, "angle text on the bisector")
c.text(whole.entities[5], "90", (40710.2803, 705.3388), 314.8, "angle text of 89.6 degrees")

(lune,) = c.figures("DICT_LUNE")
c.near([round(lune.outline.dxf.start_angle, 6) % 360, lune.outline.dxf.end_angle], (0, 90),
       "the clockwise picks are turned round")
c.text(lune.entities[7], "2.83", (61000.7071, 1000.7071), 315, "chord text outside the chord")
c.near(lune.mark.dxf.insert, (60942.8090, 942.8090), "mark at two thirds of the radius")
c.finish()
