"""The opened drawing saved again: its entities under their handles, the extended data kept, the
new circle added; and the text of height 0 drawn readably by `tessera render`."""
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


doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
check(not auditor.errors, f"audit errors: {[str(e) for e in auditor.errors]}")
text, line = doc.entitydb.get("2A"), doc.entitydb.get("2B")
check(text is not None and text.dxftype() == "TEXT", "2A is the survey text")
check(text is not None and text.dxf.text == "境界点 K1", "the text's content")
check(line is not None and line.dxftype() == "LINE", "2B is the line")
if line is not None:
    check(line.has_xdata("SURVEY_POINT"), "the line keeps its extended data")
    check([tuple(t) for t in line.get_xdata("SURVEY_POINT")] == [(1000, "K1-K2"), (1040, 12.5)],
          "extended data values")
circles = doc.modelspace().query("CIRCLE")
check(len(circles) == 1 and abs(circles[0].dxf.radius - 250) < 1e-9, "the new circle")
check(all(int(e.dxf.handle, 16) > 0x2B for e in circles), "new handles above the file's")

with tempfile.TemporaryDirectory() as folder:
    svg_path = os.path.join(folder, "drawing.svg")
    done = subprocess.run([os.environ["TESSERA"], "render", sys.argv[1], "--svg", svg_path],
                          capture_output=True, text=True, timeout=60)
    check(done.returncode == 0, f"render ended with {done.returncode}: {done.stderr}")
    svg = open(svg_path, encoding="utf-8").read() if done.returncode == 0 else ""
texts = re.findall(r'<text [^>]*font-size="([^"]+)"[^>]*>([^<]*)</text>', svg)
check(("300", "境界点 K1") in texts, f"the text at the drawing's text size: {texts}")
check(len(re.findall(r"<circle ", svg)) == 1, "the circle in the picture")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
