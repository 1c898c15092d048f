"""Two tables from the marks chosen at "Select objects:": the general form in selection order
(3 by L, 1 by a pick, 2 by a crossing window), the triangle form of the previous set, and the
rows each record gained."""
import sys

from schedule_checks import Schedules, general_table, triangle_table

TEXT_SIZE = 2.5
TRIANGLE = ("4.00x2.00x0.5", "4.00")
RECTANGLE = ("2.00x1.00", "2.00")

s = Schedules(sys.argv[1])
s.equal(s.tables(), [
    general_table(0, 0, [("", "3") + TRIANGLE, ("", "1") + TRIANGLE, ("", "2") + RECTANGLE],
                  "10.00", TEXT_SIZE),
    triangle_table(0, -10000, [("", "1", "4.00", "2.00", "8.00"), ("", "3", "4.00", "2.00", "8.00")],
                   "16.00", "8.00", TEXT_SIZE),
], "the two tables")
footer = ["16.00", "8.00", "8.00"]
s.equal(sorted(s.records()), [
    ("DICT_RECTANGLE", "2", [], [["", "2", *RECTANGLE, "10.00"]]),
    ("DICT_TRIANGLE", "1", [["", "1", "4.00", "2.00", "8.00"] + footer],
     [["", "1", *TRIANGLE, "10.00"]]),
    ("DICT_TRIANGLE", "3", [["", "3", "4.00", "2.00", "8.00"] + footer],
     [["", "3", *TRIANGLE, "10.00"]]),
], "rows of the records")
s.finish()
