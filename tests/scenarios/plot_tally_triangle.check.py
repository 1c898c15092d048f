"""The triangle-form table: two rows (the second deducted), the three footer rows with "m2",
and each triangle's row in its record; the rectangle gets none."""
import sys

from schedule_checks import Schedules, triangle_table

# TEXTSIZE 3 puts the land area 3 x 3 left of the unit text.
TEXT_SIZE = 3.0

s = Schedules(sys.argv[1])
s.equal(s.tables(), [triangle_table(0, 0, [("", "1", "4.00", "2.00", "8.00"),
                                           ("-", "2", "4.00", "4.00", "-16.00")],
                                    "-8.00", "-4.00", TEXT_SIZE)],
        "the one table")
footer = ["-8.00", "-4.00", "-4.00"]
s.equal(sorted(s.records()), [
    ("DICT_RECTANGLE", "3", [], []),
    ("DICT_TRIANGLE", "1", [["", "1", "4.00", "2.00", "8.00"] + footer], []),
    ("DICT_TRIANGLE", "2", [["-", "2", "4.00", "4.00", "-16.00"] + footer], []),
], "rows of the records")
s.finish()
