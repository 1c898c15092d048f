"""The two general-form tables: the worked grid and texts, and every row in its record."""
import sys

from schedule_checks import Schedules, coordinate

# Table unit 1, TEXTSIZE 2.5: the sign starts 350 + 1.2 x 2.5 left of the number's centre.
SIGN_X = 1000 - 353


def general_table(x0, y0, rows, total):
    def p(x, y):
        return f"({coordinate(x0 + x)},{coordinate(y0 + y)})"
    lines = [f"INSERT T TABLE_LINE AREA_TABLE {p(0, 0)} scale 1 rotation 0",
             f"TEXT TEXT TABLE_TEXT R {p(18350, -1400 - 600 * len(rows) - 450)} \"{total}\""]
    for i, (number, formula, area) in enumerate(rows):
        top, bottom = -1400 - 600 * i, -2000 - 600 * i
        lines += [f"LINE L TABLE_LINE {p(x, top)}-{p(x, bottom)}" for x in (0, 2000, 15000, 18500)]
        lines += [f"LINE L TABLE_LINE {p(0, bottom)}-{p(18500, bottom)}",
                  f"TEXT TEXT TABLE_TEXT L {p(SIGN_X, bottom + 150)} \"\"",
                  f"TEXT TEXT TABLE_TEXT C {p(1000, bottom + 150)} \"{number}\"",
                  f"TEXT TEXT TABLE_TEXT L {p(2300, bottom + 150)} \"{formula}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(18350, bottom + 150)} \"{area}\""]
    yb = -1400 - 600 * len(rows)
    lines += [f"LINE L TABLE_LINE {p(0, yb)}-{p(0, yb - 600)}",
              f"LINE L TABLE_LINE {p(18500, yb)}-{p(18500, yb - 600)}",
              f"LINE L TABLE_LINE {p(0, yb - 600)}-{p(18500, yb - 600)}",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 450)} \"計\""]
    return lines


NINE = ("9", "4.00x2.00x0.5", "4.00")
TEN = ("10", "2.00x1.00", "2.00")

s = Schedules(sys.argv[1])
tables = s.tables()
s.equal(len(tables), 2, "tables")
if len(tables) == 2:
    s.equal(tables[0], general_table(0, 0, [NINE, TEN], "6.00"), "worked table at the origin")
    # Inserted at 0,-30000 of a UCS turned a quarter round about 1000,1000: world 31000,1000,
    # the grid along the world axes. The header's stored rotation is left to the host's INSERT.
    s.equal(tables[1][1:], general_table(31000, 1000, [TEN, NINE], "6.00")[1:],
            "plain order, in a UCS")
    s.equal(tables[1][0].rsplit(" rotation ", 1)[0],
            "INSERT T TABLE_LINE AREA_TABLE (31000,1000) scale 1", "header in a UCS")
s.equal(sorted(s.records()), [
    ("DICT_RECTANGLE", "10", [], [["", "10", "2.00x1.00", "2.00", "6.00"]] * 2),
    ("DICT_TRIANGLE", "9", [], [["", "9", "4.00x2.00x0.5", "4.00", "6.00"]] * 2),
], "rows of the records")
s.finish()
