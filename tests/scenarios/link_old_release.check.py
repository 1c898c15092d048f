"""With the older release named in the settings file, every stretch, text edit and erase gives
the numbers worked out below, which are those of a session without the file; the check also runs
the same script without the file and compares each save object for object.

Metres with 2 decimals, half up.
"""
import os
import subprocess
import sys

from linkage_checks import (contents, equal, expect_drawing_state, expect_same_drawing, failures,
                            saved_beside)

SAVES = ("start", "stretched", "edited", "erased")
DICTIONARY = {"1": "DICT_TRIANGLE", "2": "DICT_RECTANGLE", "3": "DICT_TRAPEZOID"}

# Per label: value texts, value list, sign.
START = {
    # (0,3000) (-1000,0) (4000,0): base 5.00, height 3.00, 15.00, area 7.50
    "1": (["5.00", "3.00"], "( 5.00 3.00 15.00 7.50 )", "+"),
    # 3000 x 2000: 6.00
    "2": (["3.00", "2.00"], "( 3.00 2.00 6.00 )", "+"),
    # lower 2.00, upper 4.00, height 2.00: (2 + 4) x 2 x 0.5 = 6.00
    "3": (["2.00", "4.00", "2.00"], "( 2.00 4.00 2.00 6.00 )", "+"),
}
STRETCHED = {
    # apex to (1000,4000): height 4.00, 20.00, area 10.00
    "1": (["5.00", "4.00"], "( 5.00 4.00 20.00 10.00 )", "+"),
    # corner p3 to (14000,-1000), p1 kept: 4.00 x 3.00 = 12.00
    "2": (["4.00", "3.00"], "( 4.00 3.00 12.00 )", "+"),
    # p1 to (19000,-500): p2 slides along p2-p3 to (24250,-500), so the upper base is 5.25 and
    # the height 2.50; (2.00 + 5.25) x 2.50 x 0.5 = 9.0625, 9.06
    "3": (["2.00", "5.25", "2.50"], "( 2.00 5.25 2.50 9.06 )", "+"),
}
# Base retyped 6.00: 6.00 x 4.00 = 24.00, area 12.00.
EDITED = dict(STRETCHED, **{"1": (["6.00", "4.00"], "( 6.00 4.00 24.00 12.00 )", "+")})

GENERAL = {
    "start": ([("", "1", "5.00x3.00x0.5", "7.50"), ("", "2", "3.00x2.00", "6.00"),
               ("", "3", "(2.00+4.00)x2.00x0.5", "6.00")], "19.50"),
    "stretched": ([("", "1", "5.00x4.00x0.5", "10.00"), ("", "2", "4.00x3.00", "12.00"),
                   ("", "3", "(2.00+5.25)x2.50x0.5", "9.06")], "31.06"),  # 10 + 12 + 9.06
    "edited": ([("", "1", "6.00x4.00x0.5", "12.00"), ("", "2", "4.00x3.00", "12.00"),
                ("", "3", "(2.00+5.25)x2.50x0.5", "9.06")], "33.06"),  # 12 + 12 + 9.06
    "erased": ([("", "1", "6.00x4.00x0.5", "12.00"),
                ("", "3", "(2.00+5.25)x2.50x0.5", "9.06")], "21.06"),  # 33.06 - 12.00
}
TRIANGLE = {
    "start": ([("", "1", "5.00", "3.00", "15.00")], ("15.00", "7.50")),
    "stretched": ([("", "1", "5.00", "4.00", "20.00")], ("20.00", "10.00")),
    "edited": ([("", "1", "6.00", "4.00", "24.00")], ("24.00", "12.00")),
    "erased": ([("", "1", "6.00", "4.00", "24.00")], ("24.00", "12.00")),
}
FIGURES = {"start": START, "stretched": STRETCHED, "edited": EDITED, "erased": EDITED}
MARKED = {"start": "123", "stretched": "123", "edited": "123", "erased": "13"}

def check(path, stage):
    figures, marked = FIGURES[stage], list(MARKED[stage])
    (general, total), (triangle, sums) = GENERAL[stage], TRIANGLE[stage]
    expect_drawing_state(path, DICTIONARY, figures, general, total, triangle, sums, marked)


def run_without_settings_file(outdir):
    """The same script in a folder of its own, with no settings file on the search path."""
    folder = os.path.join(outdir, "link_old_release.without_file")
    os.makedirs(folder, exist_ok=True)
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "link_old_release.scr")
    environment = {k: v for k, v in os.environ.items() if k != "TESSERA_PATH"}
    done = subprocess.run([os.environ["TESSERA"], "run", script, "--out",
                           os.path.join(folder, "link_old_release.dxf")], cwd=folder,
                          env=environment, capture_output=True, text=True, timeout=100)
    equal(done.returncode, 0, f"the run without the file:\n{done.stdout}{done.stderr}")
    return folder


for stage in SAVES:
    check(saved_beside(sys.argv[1], f"link_old_release.{stage}.dxf"), stage)
if "TESSERA" in os.environ and not failures:
    without = run_without_settings_file(os.path.dirname(os.path.abspath(sys.argv[1])))
    for stage in SAVES + ("",):
        name = f"link_old_release.{stage}.dxf" if stage else "link_old_release.dxf"
        with_file = contents(saved_beside(sys.argv[1], name))
        without_file = contents(os.path.join(without, name))
        # Standard tables are numbered anew by every save; the drawing's own objects lie below.
        seed = min(int(h, 16) for h, (kind, _, _) in with_file.items() if kind == "TABLE")
        differ = sorted(h for h in set(with_file) | set(without_file)
                        if int(h, 16) < seed and with_file.get(h) != without_file.get(h))
        if differ:
            failures.append(f"{name}: objects {differ} differ from the run without the file")
for failure in failures:
    print(failure)
if failures:
    sys.exit(1)
# UNDO of the erase gives back the drawing saved before it.
expect_same_drawing(saved_beside(sys.argv[1], "link_old_release.edited.dxf"), sys.argv[1],
                    "UNDO 1 after the erase")
