"""The record dump, to the character: each of the three dumps of the transcript is the text the
records of the drawing saved at that moment give, with the labels, blanks, full-width colons and
the lune's tab of the dump."""
import sys

from figure_checks import Checker
from linkage_checks import saved_beside

BANNER = "\n/////////////////////////////////////////////////"
END = "\n-------------------------------------"
SETTINGS = {
    "narrow": ["\n   単位種別       ：%d", "\n   桁数           ：%d", "\n   端数処理       ：%d"],
    "wide": ["\n   単位種別        ：%d", "\n   桁数            ：%d", "\n   端数処理        ：%d"],
    "circle": ["\n   単位種別          ：%d", "\n   桁数              ：%d",
               "\n   端数処理          ：%d"],
    "arc": ["\n   単位種別            ：%d", "\n   桁数                ：%d",
            "\n   端数処理            ：%d"],
}
# Per dictionary: title, (label, index of the record's handle: 0 the mark, 1.. the shape
# handles in their stored order) in the printed order, and the settings lines.
SHAPES = [
    ("DICT_TRIANGLE", "\n三角形求積図", [
        ("\n   求積記号ハンドル：%s", 0), ("\n   垂線ハンドル    ：%s", 1),
        ("\n   底辺文字ハンドル：%s", 2), ("\n   垂線文字ハンドル：%s", 3)], "narrow"),
    ("DICT_RECTANGLE", "\n長方形求積図", [
        ("\n   求積記号ハンドル：%s", 0), ("\n   右対角線ハンドル：%s", 1),
        ("\n   左対角線ハンドル：%s", 2), ("\n   底辺文字ハンドル：%s", 3),
        ("\n   高さ文字ハンドル：%s", 4)], "wide"),
    ("DICT_TRAPEZOID", "\n台形求積図", [
        ("\n   求積記号ハンドル：%s", 0), ("\n   垂線図形ハンドル：%s", 1),
        ("\n   上値図形ハンドル：%s", 3), ("\n   下値図形ハンドル：%s", 2),
        ("\n   高さ文字ハンドル：%s", 4)], "wide"),
    ("DICT_CIRCLE", "\n円形求積図", [
        ("\n   求積記号ハンドル  ：%s", 0), ("\n   半径図形ハンドル  ：%s", 1),
        ("\n   半径値図形ハンドル：%s", 2)], "circle"),
    ("DICT_SECTOR", "\n扇形求積図", [
        ("\n   求積記号ハンドル    ：%s", 0), ("\n   開始半径図形ハンドル：%s", 1),
        ("\n   終了半径図形ハンドル：%s", 2), ("\n   内角円弧図形ハンドル：%s", 3),
        ("\n   半径値図形ハンドル  ：%s", 4), ("\n   内角値図形ハンドル  ：%s", 5)], "arc"),
    ("DICT_LUNE", "\n弓形求積図", [
        ("\n   求積記号ハンドル    ：%s", 0), ("\n   開始半径図形ハンドル：%s", 1),
        ("\n   終了半径図形ハンドル：%s", 2), ("\n   内角円弧図形ハンドル：%s", 3),
        ("\n   半径値図形ハンドル  ：%s", 6), ("\n   内角値図形ハンドル  ：%s", 7),
        ("\n   弦値図形ハンドル    ：%s", 8), ("\n   弦図形ハンドル\t     ：%s", 4),
        ("\n   高さ図形ハンドル    ：%s", 5)], "arc"),
]


def expected_dump(path):
    checker = Checker(path)
    text = ""
    for dictionary, title, lines, settings in SHAPES:
        if dictionary not in checker.doc.rootdict:
            continue
        text += BANNER + title + BANNER
        for figure in checker.figures(dictionary):
            handles = [figure.mark_handle] + figure.shape_handles
            text += "\nハンドル：%s" % figure.key
            text += "".join(line % handles[index] for line, index in lines)
            text += "".join(line % value for line, value in zip(SETTINGS[settings], figure.rules))
            text += END
    return text


def printed_dumps(transcript):
    """What each (area_dicchk) printed: the lines after its command line, up to the next."""
    with open(transcript, encoding="utf-8") as lines:
        text = lines.read()
    call = "Command: (area_dicchk)\n"
    dumps, at = [], text.find(call)
    while at >= 0:
        start = at + len(call)
        end = text.find("Command: ", start)
        dumps.append(text[start:end] if end >= 0 else text[start:])
        at = text.find(call, start)
    return dumps


final = sys.argv[1]
full = saved_beside(final, "maint_dicchk.full.dxf")
failures = []
dumps = printed_dumps(sys.argv[2])
expected = ["", expected_dump(full), expected_dump(final)]
if len(dumps) != 3:
    failures.append(f"{len(dumps)} dumps printed, expected 3")
for number, (printed, wanted) in enumerate(zip(dumps, expected), 1):
    # The first line break opens the line after the command's own; the last line is ended, but
    # for the transcript's very end.
    wanted = wanted[1:] + "\n" if wanted else ""
    if printed not in (wanted, wanted.rstrip("\n")):
        failures.append(f"dump {number}:\n{printed!r}\nexpected\n{wanted!r}")
counts = [dump.count(END) for dump in dumps]
if counts[1:] != [7, 6]:
    failures.append(f"records dumped: {counts[1:]}, expected 7 and then 6")
for failure in failures:
    print("FAILED: " + failure)
sys.exit(1 if failures else 0)
