"""The triangle-form table: two rows (the second deducted), the three footer rows with "m2",
and each triangle's row in its record; the rectangle gets none."""
import sys

from schedule_checks import Schedules, coordinate

# Table unit 1, TEXTSIZE 3: the sign starts 350 + 1.2 x 3 left of the number's centre, the land
# area 3 x 3 left of the unit text.
T = 3.0
SIGN_X = 1000 - (350 + 1.2 * T)


def p(x, y):
    return f"({coordinate(x)},{coordinate(y)})"


def triangle_table(rows, total, half):
    lines = ["INSERT T TABLE_LINE AREA_TABLE (0,0) scale 1 rotation 0"]
    yb = -1400 - 600 * len(rows)
    lines += [f"TEXT TEXT TABLE_TEXT R {p(10350, yb - 450)} \"{total}\"",
              f"TEXT TEXT TABLE_TEXT R {p(10350, yb - 1050)} \"{half}\"",
              f"TEXT TEXT TABLE_TEXT R {p(10350 - 3 * T, yb - 1650)} \"{half}\""]
    for i, (sign, number, base, height, double) in enumerate(rows):
        top, bottom = -1400 - 600 * i, -2000 - 600 * i
        lines += [f"LINE L TABLE_LINE {p(x, top)}-{p(x, bottom)}"
                  for x in (0, 2000, 4500, 7000, 10500)]
        lines += [f"LINE L TABLE_LINE {p(0, bottom)}-{p(10500, bottom)}",
                  f"TEXT TEXT TABLE_TEXT L {p(SIGN_X, bottom + 150)} \"{sign}\"",
                  f"TEXT TEXT TABLE_TEXT C {p(1000, bottom + 150)} \"{number}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(4350, bottom + 150)} \"{base}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(6850, bottom + 150)} \"{height}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(10350, bottom + 150)} \"{double}\""]
    lines += [f"LINE L TABLE_LINE {p(0, yb)}-{p(0, yb - 1800)}",
              f"LINE L TABLE_LINE {p(2000, yb)}-{p(2000, yb - 1200)}",
              f"LINE L TABLE_LINE {p(10500, yb)}-{p(10500, yb - 1800)}",
              f"LINE L TABLE_LINE {p(0, yb - 600)}-{p(10500, yb - 600)}",
              f"LINE L TABLE_LINE {p(0, yb - 1200)}-{p(10500, yb - 1200)}",
              f"LINE L TABLE_LINE {p(0, yb - 1800)}-{p(10500, yb - 1800)}",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 450)} \"計\"",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 1050)} \"１／２\"",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 1650)} \"地積\"",
              f"TEXT TEXT TABLE_TEXT R {p(10350, yb - 1650)} \"m2\""]
    return lines


s = Schedules(sys.argv[1])
s.equal(s.tables(), [triangle_table([("", "1", "4.00", "2.00", "8.00"),
                                     ("-", "2", "4.00", "4.00", "-16.00")], "-8.00", "-4.00")],
        "the one table")
footer = ["-8.00", "-4.00", "-4.00"]
s.equal(sorted(s.records()), [
    ("DICT_RECTANGLE", "3", [], []),
    ("DICT_TRIANGLE", "1", [["", "1", "4.00", "2.00", "8.00"] + footer], []),
    ("DICT_TRIANGLE", "2", [["-", "2", "4.00", "4.00", "-16.00"] + footer], []),
], "rows of the records")
s.finish()
