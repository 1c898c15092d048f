"""The records of the saved drawing as ezdxf reads them, then the drawing opened again.

With the plug-in: opened from the DXF and saved as .tdb, and opened from that .tdb; in both, a
new general-form schedule adds one row to every record, which shows that each record came back
as a record with its old rows. Without the plug-in: opened from the DXF, saved as .tdb and as
DXF, and the .tdb saved as DXF again: every record is written back tag for tag; opened from that
.tdb with the plug-in, the records are records again.
"""
import os
import subprocess
import sys

import ezdxf

APP = "Tessera Area Dictionary"
SHAPES = {"AREADIC_TRIANGLE": ("AreaDic_Triangle", "DICT_TRIANGLE", 3),
          "AREADIC_RECTANGLE": ("AreaDic_Rectangle", "DICT_RECTANGLE", 4),
          "AREADIC_TRAPEZOID": ("AreaDic_Trapezoid", "DICT_TRAPEZOID", 4),
          "AREADIC_CIRCLE": ("AreaDic_Circle", "DICT_CIRCLE", 2),
          "AREADIC_SECTOR": ("AreaDic_Sector", "DICT_SECTOR", 5),
          "AREADIC_LUNE": ("AreaDic_Lune", "DICT_LUNE", 8)}
TABLE_ROW, TRIANGLE_ROW = 5, 8
TALLY = '(plot_tally "0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|1|0")\nALL\n\n0,-40000\n'

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)
    return condition


def tessera_program(start):
    """The tessera program of the build that wrote the drawing: bin/tessera above it."""
    if os.environ.get("TESSERA_PROGRAM"):
        return os.environ["TESSERA_PROGRAM"]
    folder = os.path.abspath(start)
    while folder != os.path.dirname(folder):
        candidate = os.path.join(folder, "bin", "tessera")
        if os.path.exists(candidate):
            return candidate
        folder = os.path.dirname(folder)
    return None


def run(tessera, outdir, name, script, arguments):
    path = os.path.join(outdir, name + ".scr")
    with open(path, "w", encoding="utf-8") as text:
        text.write(script)
    done = subprocess.run([tessera, "run", path] + arguments, capture_output=True, text=True,
                          timeout=100)
    return expect(done.returncode == 0, f"{name}: exit {done.returncode}\n{done.stdout}"
                                        f"{done.stderr}")


def raw_records(path):
    """Each AREADIC_ object's tags after its handle, by handle, as the file has them."""
    with open(path, encoding="utf-8") as dxf:
        lines = [line.strip() for line in dxf.read().splitlines()]
    records, current = {}, None
    for i in range(0, len(lines) - 1, 2):
        code, value = int(lines[i]), lines[i + 1]
        if code == 0:
            current = [] if value.startswith("AREADIC_") else None
            kind = value
            continue
        if current is None:
            continue
        if code == 5 and not current:
            records[value] = (kind, current)
        else:
            current.append((code, value))
    return records


def check_drawing(path):
    """Audit, CLASSES, dictionaries and each record's tags in the order its record writes them.
    Gives the raw records."""
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    expect(not auditor.errors, f"{path}: audit errors {[e.message for e in auditor.errors]}")
    classes = {c.dxf.name: (c.dxf.cpp_class_name, c.dxf.app_name)
               for c in doc.classes.classes.values()}
    for name, (cpp, dictionary, _) in SHAPES.items():
        expect(classes.get(name) == (cpp, APP), f"{path}: CLASSES {name}: {classes.get(name)}")
        expect(dictionary in doc.rootdict, f"{path}: no {dictionary} in the named dictionary")
        entries = doc.rootdict[dictionary] if dictionary in doc.rootdict else {}
        expect(len(entries) == 1, f"{path}: {dictionary} has {len(entries)} entries")
        for key, record in entries.items():
            expect(record.dxftype() == name, f"{path}: {dictionary} {key} is {record.dxftype()}")
            expect(doc.entitydb.get(key) is not None, f"{path}: no outline {key}")
    records = raw_records(path)
    expect(len(records) == len(SHAPES), f"{path}: {len(records)} records")
    for handle, (kind, tags) in records.items():
        check_record_tags(path, handle, kind, tags)
    return records


def check_record_tags(path, handle, kind, tags):
    cpp, _, shape_handles = SHAPES[kind]
    triangle = kind == "AREADIC_TRIANGLE"
    own = tags[[code for code, _ in tags].index(100):] if (100, cpp) in tags else []
    codes = [code for code, _ in own]
    head = [100] + [5] * (1 + shape_handles) + [70, 71, 72] + ([73, 74] if triangle else [73])
    where = f"{path}: {kind} {handle}"
    if not expect(codes[:len(head)] == head, f"{where}: groups {codes}"):
        return
    values = dict(zip(codes[len(head) - 2:len(head)], [v for _, v in own[len(head) - 2:]]))
    triangles = int(values[73]) if triangle else 0
    tables = int(values[74] if triangle else values[73])
    rows = triangles * TRIANGLE_ROW + tables * TABLE_ROW
    expect(codes[len(head):] == [300] * rows, f"{where}: {rows} row groups expected: {codes}")
    expect(own[0] == (100, cpp), f"{where}: marker {own[0]}")
    expect([v for c, v in own if c in (70, 71, 72)] == ["1", "2", "0"], f"{where}: settings")
    expect(all(int(v, 16) > 0 for c, v in own if c in (5, 300)), f"{where}: a zero handle")


def table_count_index(kind, tags):
    return [code for code, _ in tags].index(74 if kind == "AREADIC_TRIANGLE" else 73)


def expect_one_row_more(path, before, after):
    """Every record of `after` is the one of `before` with one more table row at the end."""
    for handle, (kind, tags) in before.items():
        if not expect(handle in after, f"{path}: record {handle} is missing"):
            continue
        grown = after[handle][1]
        index = table_count_index(kind, tags)
        expected = list(tags)
        expected[index] = (expected[index][0], str(int(expected[index][1]) + 1))
        expect(grown[:len(tags)] == expected and grown[len(tags):] == [
            (300, v) for c, v in grown[len(tags):]] and len(grown) == len(tags) + TABLE_ROW,
            f"{path}: record {handle} did not gain one row:\n{tags}\n{grown}")


def expect_unchanged(path, before, after):
    expect(after == before, f"{path}: records differ from the first save:\n{before}\n{after}")


def main(dxf):
    records = check_drawing(dxf)
    tessera = tessera_program(os.path.dirname(dxf))
    if not expect(tessera is not None, "no bin/tessera above the drawing"):
        return
    outdir = os.path.dirname(os.path.abspath(dxf))
    name = os.path.splitext(os.path.basename(dxf))[0]
    out = lambda suffix: os.path.join(outdir, name + suffix)

    # With the plug-in: DXF -> .tdb, and each opened again and tabulated.
    if run(tessera, outdir, name + ".reopen", f"SAVEAS\n{out('.tdb')}\n{TALLY}",
           ["--in", dxf, "--out", out(".fromdxf.dxf")]):
        expect_one_row_more(out(".fromdxf.dxf"), records, check_drawing(out(".fromdxf.dxf")))
    if run(tessera, outdir, name + ".retdb", TALLY,
           ["--in", out(".tdb"), "--out", out(".fromtdb.dxf")]):
        expect_one_row_more(out(".fromtdb.dxf"), records, check_drawing(out(".fromtdb.dxf")))

    # Without the plug-in: the records are kept and written back as they were.
    if run(tessera, outdir, name + ".kept", f"SAVEAS\n{out('.kept.tdb')}\n",
           ["--no-plugin", "--in", dxf, "--out", out(".kept.dxf")]):
        expect_unchanged(out(".kept.dxf"), records, check_drawing(out(".kept.dxf")))
    if run(tessera, outdir, name + ".kepttdb", "; opens and saves\n",
           ["--no-plugin", "--in", out(".kept.tdb"), "--out", out(".kept2.dxf")]):
        expect_unchanged(out(".kept2.dxf"), records, check_drawing(out(".kept2.dxf")))
    if run(tessera, outdir, name + ".back", TALLY,
           ["--in", out(".kept.tdb"), "--out", out(".back.dxf")]):
        expect_one_row_more(out(".back.dxf"), records, check_drawing(out(".back.dxf")))


main(sys.argv[1])
for failure in failures:
    print("FAILED: " + failure)
sys.exit(1 if failures else 0)
