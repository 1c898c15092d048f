"""The two general-form tables: the worked grid and texts, and every row in its record."""
import sys

from schedule_checks import Schedules, general_table

TEXT_SIZE = 2.5
NINE = ("", "9", "4.00x2.00x0.5", "4.00")
TEN = ("", "10", "2.00x1.00", "2.00")

s = Schedules(sys.argv[1])
tables = s.tables()
s.equal(len(tables), 2, "tables")
if len(tables) == 2:
    s.equal(tables[0], general_table(0, 0, [NINE, TEN], "6.00", TEXT_SIZE),
            "worked table at the origin")
    # Inserted at 0,-30000 of a UCS turned a quarter round about 1000,1000: world 31000,1000,
    # the grid along the world axes. The header's stored rotation is left to the host's INSERT.
    s.equal(tables[1][1:], general_table(31000, 1000, [TEN, NINE], "6.00", TEXT_SIZE)[1:],
            "plain order, in a UCS")
    s.equal(tables[1][0].rsplit(" rotation ", 1)[0],
            "INSERT T TABLE_LINE AREA_TABLE (31000,1000) scale 1", "header in a UCS")
s.equal(sorted(s.records()), [
    ("DICT_RECTANGLE", "10", [], [["", "10", "2.00x1.00", "2.00", "6.00"]] * 2),
    ("DICT_TRIANGLE", "9", [], [["", "9", "4.00x2.00x0.5", "4.00", "6.00"]] * 2),
], "rows of the records")
s.finish()
