"""After the old-form list and the mixed selection answered B, only the last call drew a table:
the linked triangle alone, with its row in its record."""
import sys

from schedule_checks import Schedules

s = Schedules(sys.argv[1])
tables = s.tables()
s.equal(len(tables), 1, "tables")
if tables:
    s.equal(tables[0][0], "INSERT T TABLE_LINE AREA_TABLE (0,-20000) scale 1 rotation 0", "header")
    s.equal([line for line in tables[0] if "\"T1\"" in line],
            ["TEXT TEXT TABLE_TEXT C (1000,-21850) \"T1\""], "the one row")
s.equal(s.records(), [("DICT_TRIANGLE", "T1", [], [["", "T1", "4.00x2.00x0.5", "4.00", "4.00"]])],
        "rows of the records")
s.finish()
