"""The audit of a clean drawing of every shape and both schedule forms, then of copies spoilt one
way each in runs without the plug-in: each copy gives exactly its findings, and --fix gives a
drawing that audits clean and shows the numbers a fresh figure would.
"""
import json
import os
import subprocess
import sys

import ezdxf

from linkage_checks import mark_values

TESSERA = os.environ["TESSERA"]
FAILURES = []


def run(*args):
    done = subprocess.run([TESSERA, *args], capture_output=True, text=True, timeout=100)
    return done.returncode, done.stdout, done.stderr


def audit(path, *options):
    return run("audit", path, *options)


def check(condition, what):
    if not condition:
        FAILURES.append(what)


def text_at(path, x, y, value=None):
    """The handle of the text nearest (x, y), optionally with that string."""
    best = None
    for text in ezdxf.readfile(path).modelspace().query("TEXT"):
        if value is not None and text.dxf.text != value:
            continue
        distance = abs(text.dxf.insert.x - x) + abs(text.dxf.insert.y - y)
        if best is None or distance < best[0]:
            best = (distance, text.dxf.handle)
    return best[1]


def texts_by_handle(path):
    return {t.dxf.handle: t.dxf.text for t in ezdxf.readfile(path).modelspace().query("TEXT")}


def mark_of(path, label):
    for insert in ezdxf.readfile(path).modelspace().query("INSERT"):
        if any(a.dxf.tag == "BANGO1" and a.dxf.text == label for a in insert.attribs):
            return insert.dxf.handle
    raise LookupError(label)


def spoil(clean, name, lines):
    """The clean drawing with the script's lines run without the plug-in."""
    folder = os.path.dirname(clean)
    script = os.path.join(folder, name + ".scr")
    with open(script, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    spoilt = os.path.join(folder, name + ".dxf")
    status, _, error = run("run", script, "--in", clean, "--out", spoilt, "--no-plugin")
    check(status == 0, f"{name}: the spoiling run failed: {error}")
    return spoilt


def finding_lines(stdout):
    return [line for line in stdout.splitlines()[:-1] if "not linked" not in line]


def expect_findings(path, name, expected, status=1):
    code, stdout, error = audit(path)
    check(code == status, f"{name}: audit exit {code}, not {status}: {stdout}{error}")
    lines = finding_lines(stdout)
    check(lines == expected, f"{name}: findings {lines}, expected {expected}")
    return stdout


def expect_mended(path, name, clean, remaining=None):
    fixed = path.replace(".dxf", ".fixed.dxf")
    code, stdout, error = audit(path, "--fix", "--out", fixed)
    after = stdout.split("audited again:\n", 1)[-1]
    if remaining is None:
        check(code == 0, f"{name}: --fix exit {code}: {stdout}{error}")
        check(after.rstrip().endswith("clean") or "clean," in after, f"{name}: after fix: {after}")
    code, stdout, _ = audit(fixed)
    check(code == (0 if remaining is None else 1), f"{name}: the fixed drawing audits {stdout}")
    return fixed


def main(clean, _transcript):
    code, stdout, error = audit(clean, "--json", clean + ".json")
    check(code == 0 and stdout.strip() == "7 figures, 2 schedules: clean",
          f"clean drawing: {code} {stdout}{error}")
    with open(clean + ".json", encoding="utf-8") as report:
        check(json.load(report)["audit"]["findings"] == [], "clean drawing: JSON findings")
    clean_marks = mark_values(clean)

    # A value text retyped without the plug-in: the text, and nothing else, is out of step.
    base = text_at(clean, 1500, 0, "5.00")
    spoilt = spoil(clean, "text_edit", ["TEXTEDIT", f'(handent "{base}")', "5.50"])
    expect_findings(spoilt, "text edit", [f'1 triangle {base}: base text "5.50", geometry gives "5.00"'])
    fixed = expect_mended(spoilt, "text edit", clean)
    check(mark_values(fixed) == clean_marks, "text edit: the fixed marks are the clean ones")
    check(texts_by_handle(fixed) == texts_by_handle(clean),
          "text edit: every text, row and total of the fixed drawing is the clean one's")

    # A total retyped without the plug-in.
    total = text_at(clean, 18342, -16050, "32.85")
    spoilt = spoil(clean, "total_edit", ["TEXTEDIT", f'(handent "{total}")', "99.99"])
    expect_findings(spoilt, "total edit", [f'schedule {total}: total "99.99", rows give "32.85"'])
    expect_mended(spoilt, "total edit", clean)

    # Triangle 7's apex dragged up without the plug-in: its height text and its mark's place.
    spoilt = spoil(clean, "stretch", ["GRIP_STRETCH", "C", "50990,1990", "51010,2010", "",
                                      "51000,2000", "51000,3000"])
    height = text_at(clean, 51001, 1000, "2.00")
    mark = mark_of(clean, "7")
    expect_findings(spoilt, "stretch", [
        f'7 triangle {height}: height text "2.00", geometry gives "3.00"',
        f'7 triangle {mark}: mark position "51000.0000,666.6667", geometry gives '
        f'"51000.0000,1000.0000"'])
    fixed = expect_mended(spoilt, "stretch", clean)
    marks = {label: values for label, values, _ in mark_values(fixed)}
    check(marks.get("7") == "( 2.00 3.00 6.00 3.00 )", f"stretch: mark 7 {marks.get('7')}")
    texts = {t.dxf.text for t in ezdxf.readfile(fixed).modelspace().query("TEXT")}
    check({"33.85", "21.00", "10.50", "6.00", "3.00"} <= texts,
          "stretch: the rows, totals and halves follow the fixed triangle")

    # A record's mark erased without the plug-in: mended as the linkage's erase would have done.
    circle_mark = mark_of(clean, "4")
    spoilt = spoil(clean, "mark_erase", ["ERASE", f'(handent "{circle_mark}")', ""])
    expect_findings(spoilt, "mark erase", [f"circle {circle_mark}: mark is missing"])
    fixed = expect_mended(spoilt, "mark erase", clean)
    texts = {t.dxf.text for t in ezdxf.readfile(fixed).modelspace().query("TEXT")}
    check("25.78" in texts and "1.50x1.50x3.14" not in texts,
          "mark erase: the circle's row leaves the schedule and the total drops")

    # A mark copied by hand: not linked, and its value list still has its shape's form.
    spoilt = spoil(clean, "mark_copy", ["COPY", f'(handent "{mark_of(clean, "2")}")', "", "0,0",
                                        "0,-3000"])
    code, stdout, _ = audit(spoilt)
    check(code == 0 and stdout.splitlines()[-1].endswith("clean, 1 mark not linked")
          and ": mark is not linked to a figure" in stdout, f"mark copy: {stdout}")

    # A row's formula text erased: reported, and left for the user, since --fix draws no texts.
    formula = text_at(clean, 2300, -12450, "3.00x2.00")
    spoilt = spoil(clean, "row_erase", ["ERASE", f'(handent "{formula}")', ""])
    expect_findings(spoilt, "row erase", [f"2 rectangle {formula}: row formula is missing"])
    expect_mended(spoilt, "row erase", clean, remaining=1)

    # What cannot be audited is refused with exit 2; --fix needs --out.
    folder = os.path.dirname(clean)
    garbage = os.path.join(folder, "garbage.dxf")
    with open(garbage, "w", encoding="utf-8") as out:
        out.write("this is no drawing\n")
    for args, what in [((os.path.join(folder, "absent.dxf"),), "a missing drawing"),
                       ((garbage,), "a damaged drawing"),
                       ((clean, "--fix"), "--fix without --out"),
                       ((clean, "--out", garbage), "--out without --fix")]:
        code, _, error = audit(*args)
        check(code == 2 and error.startswith("tessera: "), f"{what}: exit {code}, {error}")

    # The JSON report of a spoilt drawing carries the finding and its line.
    spoilt = os.path.join(folder, "total_edit.dxf")
    audit(spoilt, "--json", spoilt + ".json")
    with open(spoilt + ".json", encoding="utf-8") as report:
        findings = json.load(report)["audit"]["findings"]
    check([(f["subject"], f["shows"], f["expected"], f["mendable"]) for f in findings]
          == [("total", "99.99", "32.85", True)], f"total edit: JSON {findings}")

    for failure in FAILURES:
        print("FAILED:", failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
