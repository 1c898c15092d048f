"""The seven figures survive SAVEAS to DXF and to .tdb: both saves, opened again by the program
(which then draws one more circle), hold every entity, text, role, group and record of the saved
drawing under the same handles, and the new circle takes handles of its own."""
import os
import shutil
import subprocess
import sys

from figure_checks import Checker, inventory

SAVES = ("figure_round_trip.saved.dxf", "figure_round_trip.saved.tdb")
COUNTS = {"DICT_TRIANGLE": 1, "DICT_RECTANGLE": 1, "DICT_TRAPEZOID": 1, "DICT_CIRCLE": 2,
          "DICT_SECTOR": 1, "DICT_LUNE": 1}
ENTITIES = 42  # 5 + 6 + 6 + 4 + 7 + 10 + 4 members
REOPEN_SCRIPT = """(sslength (ssget "X"))
(area_circle "AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0")
70000,0
71000,0


"""


def tessera(outdir):
    """The program: $TESSERA, or bin/tessera of the build that holds the scenario output."""
    candidates = [os.environ.get("TESSERA", ""),
                  os.path.join(outdir, os.pardir, os.pardir, "bin", "tessera")]
    return next((os.path.abspath(p) for p in candidates if p and os.path.isfile(p)), None)


def collect_saves(outdir):
    """SAVEAS wrote into the working folder; the saves move beside the scenario's output."""
    paths = []
    for name in SAVES:
        target = os.path.join(outdir, name)
        if os.path.exists(name) and os.path.abspath(name) != os.path.abspath(target):
            shutil.move(name, target)
        paths.append(target)
    return paths


def reopen(c, program, source, outdir):
    """Opens a save with the program, runs the small script, and gives the saved result."""
    base = os.path.join(outdir, "figure_round_trip.reopened" + os.path.splitext(source)[1])
    script = base + ".scr"
    with open(script, "w", encoding="utf-8") as out:
        out.write(REOPEN_SCRIPT)
    done = subprocess.run([program, "run", script, "--in", source, "--out", base + ".dxf"],
                          capture_output=True, text=True, timeout=100)
    lines = [line.strip() for line in done.stdout.splitlines()]
    c.equal(done.returncode, 0, f"reopening {source}")
    c.expect(str(ENTITIES) in lines, f"{source}: {ENTITIES} entities listed\n{done.stdout}")
    c.expect("面積 = 3.14m2" in lines, f"{source}: a new circle is drawn\n{done.stdout}")
    return base + ".dxf"


def compare_kept(c, saved, again, what):
    """Everything of the saved drawing is unchanged in `again`; what is new is the one circle."""
    for section in ("entities", "groups", "objects"):
        kept = {h: again[section].get(h) for h in saved[section]}
        c.equal(kept, saved[section], f"{what}: {section} by handle")
    new_entities = set(again["entities"]) - set(saved["entities"])
    c.equal(len(new_entities), 4, f"{what}: entities of the new circle")
    for name, records in saved["dictionaries"].items():
        kept = {k: again["dictionaries"].get(name, {}).get(k) for k in records}
        c.equal(kept, records, f"{what}: records of {name}")
    new_keys = set(again["dictionaries"]["DICT_CIRCLE"]) - set(saved["dictionaries"]["DICT_CIRCLE"])
    c.expect(len(new_keys) == 1 and new_keys <= new_entities,
             f"{what}: the new circle's record is keyed by a new outline: {new_keys}")


def main():
    original_path = sys.argv[1]
    outdir = os.path.dirname(os.path.abspath(original_path))
    c = Checker(original_path)
    original = inventory(c)
    c.equal({n: len(r) for n, r in original["dictionaries"].items()}, COUNTS, "records")
    c.equal(len(original["entities"]), ENTITIES, "entities")
    c.equal(len(original["groups"]), 7, "groups")
    for name in COUNTS:
        for figure in c.figures(name):
            c.equal(sorted(figure.members), sorted(h for h in original["entities"]
                                                   if h in figure.members),
                    f"{name} {figure.key}: every member is in model space")
    program = tessera(outdir)
    if not c.expect(program is not None, "tessera not found: set TESSERA"):
        c.finish()
    saved_dxf, saved_tdb = collect_saves(outdir)
    c.equal(inventory(Checker(saved_dxf)), original, "the DXF save")
    for save in (saved_dxf, saved_tdb):
        if c.expect(os.path.exists(save), f"{save} written by SAVEAS"):
            again = Checker(reopen(c, program, save, outdir))
            compare_kept(c, original, inventory(again), os.path.basename(save))
    c.finish()


main()
