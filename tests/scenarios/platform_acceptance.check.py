"""The acceptance drawing as ezdxf reads it: a clean audit, the layers, every entity under the
handle the session printed for it, the mark's attributes, the plug-in's extended data; then the
picture `tessera render` draws of it shows the same things.

The handles are read from the transcript ("<Entity name: 23>" after each `(entlast)`), in the
order the script prints them: the second wall, the lot, the well, the area mark.
"""
import os
import re
import subprocess
import sys
import tempfile

import ezdxf

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def printed_handles(transcript):
    with open(transcript, encoding="utf-8") as text:
        return re.findall(r"^<Entity name: ([0-9A-F]+)>$", text.read(), re.MULTILINE)


def check_layers(doc):
    for name, color in (("LOT", 3), ("HOUSE", 1)):
        check(name in doc.layers, f"layer {name}")
        if name in doc.layers:
            check(doc.layers.get(name).color == color, f"layer {name} has colour {color}")


def check_drawn(doc, wall, lot, well):
    check(wall.dxftype() == "LINE" and wall.dxf.layer == "HOUSE", "the second wall on HOUSE")
    check(tuple(wall.dxf.start)[:2] == (8000, 0) and tuple(wall.dxf.end)[:2] == (8000, 6000),
          "the second wall's ends")
    walls = [e for e in doc.modelspace().query("LINE") if e.dxf.layer == "HOUSE"]
    check(len(walls) == 2, f"two walls, not {len(walls)}")
    check(lot.dxftype() == "LWPOLYLINE" and lot.closed and len(lot) == 4, "the closed lot")
    check(lot.dxf.layer == "LOT", "the lot on LOT")
    check(well.dxftype() == "CIRCLE" and abs(well.dxf.radius - 700) < 1e-9, "the well")
    check(tuple(well.dxf.center)[:2] == (11000, 3000), "the well's centre")


def check_mark(mark):
    check(mark.dxftype() == "INSERT" and mark.dxf.name == "AREA1", "the mark is AREA1")
    check(tuple(mark.dxf.insert)[:2] == (3000, 8000), "the mark's insertion point")
    check(abs(mark.dxf.xscale - 100) < 1e-9, "the mark's scale")
    attributes = [(a.dxf.tag, a.dxf.text) for a in mark.attribs]
    check(attributes == [("BANGO1", "イ1"), ("BANGO2", ""), ("KT", "1"),
                         ("SK", "( 12.00 6.00 72.00 )"), ("PM", "+")],
          f"the mark's five attributes: {attributes}")


def attribute_owners(path):
    """The owner (code 330) of every ATTRIB as the file writes it (ezdxf re-links them)."""
    with open(path, encoding="utf-8") as dxf:
        lines = [line.strip() for line in dxf.read().splitlines()]
    owners, in_attribute = [], False
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i], lines[i + 1]
        if code == "0":
            in_attribute = value == "ATTRIB"
        elif in_attribute and code == "330":
            owners.append(value)
            in_attribute = False
    return owners


def check_extended_data(doc):
    tagged = [e for e in doc.modelspace() if e.has_xdata("AREA_TRIANGLE")]
    check(len(tagged) >= 4, f"the triangle's entities carry extended data ({len(tagged)})")
    check("AREA_TRIANGLE" in doc.appids, "the application name is registered")


def render(dxf):
    with tempfile.TemporaryDirectory() as folder:
        svg = os.path.join(folder, "drawing.svg")
        done = subprocess.run([os.environ["TESSERA"], "render", dxf, "--svg", svg],
                              capture_output=True, text=True, timeout=60)
        check(done.returncode == 0, f"render ended with {done.returncode}: {done.stderr}")
        return open(svg, encoding="utf-8").read() if done.returncode == 0 else ""


def check_picture(svg):
    texts = re.findall(r'<text [^>]*font-size="([^"]+)"[^>]*>([^<]*)</text>', svg)
    shown = [content for _, content in texts]
    check(len(texts) == svg.count("<text "), "every text has a font size")
    check(all(float(size) > 0 for size, _ in texts), "every text has a visible size")
    check("イ1" in shown, "the picture shows the mark's label")
    check("( 12.00 6.00 72.00 )" not in shown, "the invisible value list is not drawn")
    check(re.search(r'<circle [^>]*r="700"', svg) is not None, "the picture shows the well")
    check(svg.count("<line ") >= 2, "the picture shows the walls")


doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
check(not auditor.errors, f"audit errors: {[str(e) for e in auditor.errors]}")
handles = printed_handles(sys.argv[2])
check(len(handles) == 4, f"four entity names printed, not {handles}")
if len(handles) == 4:
    found = [doc.entitydb.get(handle) for handle in handles]
    check(all(found), f"entities under the printed handles {handles}")
    if all(found):
        check_drawn(doc, *found[:3])
        check_mark(found[3])
        check(attribute_owners(sys.argv[1]).count(handles[3]) == 5, "the file's ATTRIB owners")
check_layers(doc)
check_extended_data(doc)
check_picture(render(sys.argv[1]))

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
