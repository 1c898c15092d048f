"""Two drawings with the same handles: each one's edits show in its own texts, value lists, rows
and totals, worked out below, and the first drawing is still as saved after the second one's
edits.

Metres with 2 decimals, half up.
"""
import sys

from linkage_checks import (expect_drawing_state, expect_same_drawing, failures, saved_beside)

DICTIONARY = {"1": "DICT_TRIANGLE", "2": "DICT_RECTANGLE"}

# Per label: value texts, value list, sign.
FIRST = {
    # (0,3000) (-1000,0) (4000,0): base 5.00, height 3.00, 15.00, area 7.50
    "1": (["5.00", "3.00"], "( 5.00 3.00 15.00 7.50 )", "+"),
    # 3000 x 2000: 6.00
    "2": (["3.00", "2.00"], "( 3.00 2.00 6.00 )", "+"),
}
FIRST_GENERAL = [("", "1", "5.00x3.00x0.5", "7.50"), ("", "2", "3.00x2.00", "6.00")]
FIRST_TOTAL = "13.50"
FIRST_TRIANGLE, FIRST_SUMS = [("", "1", "5.00", "3.00", "15.00")], ("15.00", "7.50")
# Apex to (1000,4000): height 4.00, 20.00, area 10.00; the rectangle's mark erased: 10.00 alone.
FIRST_EDITED = dict(FIRST, **{"1": (["5.00", "4.00"], "( 5.00 4.00 20.00 10.00 )", "+")})
FIRST_EDITED_GENERAL = [("", "1", "5.00x4.00x0.5", "10.00")]
FIRST_EDITED_TOTAL = "10.00"
FIRST_EDITED_TRIANGLE, FIRST_EDITED_SUMS = [("", "1", "5.00", "4.00", "20.00")], ("20.00", "10.00")

SECOND = {
    # (0,2000) (-2000,0) (2000,0): base 4.00, height 2.00, 8.00, area 4.00
    "1": (["4.00", "2.00"], "( 4.00 2.00 8.00 4.00 )", "+"),
    # 2000 x 1000: 2.00
    "2": (["2.00", "1.00"], "( 2.00 1.00 2.00 )", "+"),
}
SECOND_GENERAL = [("", "1", "4.00x2.00x0.5", "4.00"), ("", "2", "2.00x1.00", "2.00")]
SECOND_TOTAL = "6.00"
SECOND_TRIANGLE, SECOND_SUMS = [("", "1", "4.00", "2.00", "8.00")], ("8.00", "4.00")
# Apex to (0,3000): height 3.00, 12.00, area 6.00. Height retyped 1.50: 2.00 x 1.50 = 3.00,
# deducted: -3.00. Total 6.00 - 3.00 = 3.00.
SECOND_EDITED = {"1": (["4.00", "3.00"], "( 4.00 3.00 12.00 6.00 )", "+"),
                 "2": (["2.00", "1.50"], "( 2.00 1.50 3.00 )", "-")}
SECOND_EDITED_GENERAL = [("", "1", "4.00x3.00x0.5", "6.00"), ("-", "2", "2.00x1.50", "-3.00")]
SECOND_EDITED_TOTAL = "3.00"
SECOND_EDITED_TRIANGLE, SECOND_EDITED_SUMS = [("", "1", "4.00", "3.00", "12.00")], ("12.00", "6.00")

def check(path, figures, general, total, triangle, sums, marked):
    expect_drawing_state(path, DICTIONARY, figures, general, total, triangle, sums, marked)


def beside(name):
    return saved_beside(sys.argv[1], name)


check(beside("link_documents.first.dxf"), FIRST, FIRST_GENERAL, FIRST_TOTAL, FIRST_TRIANGLE,
      FIRST_SUMS, ["1", "2"])
check(beside("link_documents.second.start.dxf"), SECOND, SECOND_GENERAL, SECOND_TOTAL,
      SECOND_TRIANGLE, SECOND_SUMS, ["1", "2"])
check(beside("link_documents.second.dxf"), SECOND_EDITED, SECOND_EDITED_GENERAL,
      SECOND_EDITED_TOTAL, SECOND_EDITED_TRIANGLE, SECOND_EDITED_SUMS, ["1", "2"])
check(sys.argv[1], FIRST_EDITED, FIRST_EDITED_GENERAL, FIRST_EDITED_TOTAL, FIRST_EDITED_TRIANGLE,
      FIRST_EDITED_SUMS, ["1"])
for failure in failures:
    print(failure)
if failures:
    sys.exit(1)
# The second drawing's edits, under the same handles, left the first as it was saved.
expect_same_drawing(beside("link_documents.first.dxf"), beside("link_documents.first.again.dxf"),
                    "the first drawing after the second one's edits")
