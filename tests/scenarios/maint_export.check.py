"""`tessera export` of the saved drawing read back with the csv module: a byte-order mark, CR LF
line ends, the header, one row per mark in natural order with its shape, link, sign, values,
area, layer and handle; `run --csv` after a script gives the same; one file named for two roles
is refused before anything is written."""
import csv
import io
import os
import subprocess
import sys

import ezdxf

HEADER = ["label", "shape", "linked", "sign", "value1", "value2", "value3", "value4", "area",
          "layer", "handle"]
# label, shape, linked, sign, values, area, layer; the handle is the mark's, looked up by label.
ROWS = [
    ["9", "rectangle", "yes", "-", "7.00", "6.00", "", "", "42.00", "AREA_MARK"],
    ["10", "triangle", "yes", "+", "7.00", "6.00", "42.00", "", "21.00", "AREA_MARK"],
    ["A,2", "circle", "yes", "+", "3.00", "", "", "", "28.26", "AREA_MARK"],
    ["a2", "lune", "yes", "+", "5.00", "120.00", "8.66", "2.50", "15.34", "AREA_MARK"],
    ["イ1", "trapezoid", "no", "+", "6.00", "4.00", "2.50", "", "12.50", "OLD_MARKS"],
]

tessera = os.environ["TESSERA"]
dxf = sys.argv[1]
folder = os.path.dirname(os.path.abspath(dxf))
failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def run(*args):
    return subprocess.run([tessera, *args], capture_output=True, text=True, cwd=folder)


def mark_handles(path):
    handles = {}
    for insert in ezdxf.readfile(path).modelspace().query("INSERT[name=='AREA1']"):
        attributes = {a.dxf.tag: a.dxf.text for a in insert.attribs}
        handles[attributes.get("BANGO1") or attributes.get("BANGO2")] = insert.dxf.handle
    return handles


exported = os.path.join(folder, "maint_export.csv")
done = run("export", dxf, "--csv", exported)
expect(done.returncode == 0, f"export: status {done.returncode}: {done.stderr}")
with open(exported, "rb") as raw:
    data = raw.read()
expect(data.startswith(b"\xef\xbb\xbf"), "the file starts with a byte-order mark")
expect(data.count(b"\r\n") == len(ROWS) + 1 and data.count(b"\n") == len(ROWS) + 1,
       "every line ends with CR LF")
rows = list(csv.reader(io.StringIO(data.decode("utf-8-sig"), newline="")))
handles = mark_handles(dxf)
expect(rows[:1] == [HEADER], f"header {rows[:1]}")
expected = [row + [handles.get(row[0])] for row in ROWS]
expect(rows[1:] == expected, f"rows\n{rows[1:]}\nexpected\n{expected}")

# After a script: the same rows (the script changes nothing).
script = os.path.join(folder, "maint_export.nothing.scr")
with open(script, "w", encoding="utf-8") as lines:
    lines.write("; nothing\n")
after_run = os.path.join(folder, "maint_export.run.csv")
done = run("run", script, "--in", dxf, "--csv", after_run)
expect(done.returncode == 0, f"run --csv: status {done.returncode}: {done.stderr}")
if done.returncode == 0:
    with open(after_run, "rb") as raw:
        expect(raw.read() == data, "run --csv writes what export writes")

# One file for two roles: refused with status 2, and the drawing is not touched.
with open(dxf, "rb") as raw:
    drawing = raw.read()
refused = run("export", dxf, "--csv", dxf)
expect(refused.returncode == 2, f"export onto its drawing: status {refused.returncode}")
expect("name one file" in refused.stderr, f"message: {refused.stderr!r}")
with open(dxf, "rb") as raw:
    expect(raw.read() == drawing, "the drawing is unchanged")
shared = os.path.join(folder, "maint_export.shared")
refused = run("run", script, "--in", dxf, "--transcript", shared, "--csv", shared)
expect(refused.returncode == 2, f"transcript and CSV in one file: status {refused.returncode}")
expect(not os.path.exists(shared), "nothing is written when refused")

for failure in failures:
    print("FAILED: " + failure)
sys.exit(1 if failures else 0)
