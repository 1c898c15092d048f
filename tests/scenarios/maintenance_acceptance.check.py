"""After the update every value text, value list, row and total shows three decimals and agrees;
the copy carries its source's values with eight decimals; the dump lists every record; the CSV
export gives the schedule's labels and areas."""
import csv
import os
import subprocess
import sys

import ezdxf

from linkage_checks import equal, failures, mark_values, texts_of

DXF, TRANSCRIPT = sys.argv[1], sys.argv[2]
RECORDS = 7


def decimals(text):
    return len(text.split(".")[-1]) if "." in text else 0


def rows_of_table(texts):
    """(number, area) of each row of the one general-form table: total, then sign, number,
    formula, area per row, then the footer labels."""
    body = texts[1:-2]
    return [(body[i + 1], body[i + 3]) for i in range(0, len(body), 4)]


values = texts_of(DXF, "AREA_VALUE")
equal([t for t in values if decimals(t) != 3], [], "value texts without three decimals")
marks = mark_values(DXF)
linked = [m for m in marks if m[1].startswith("( ")]
copies = [m for m in marks if not m[1].startswith("( ")]
for label, value_list, _ in linked:
    equal([v for v in value_list.strip("() ").split() if decimals(v) != 3], [],
          f"value list of {label}")
equal(len(copies), 1, "one copy")
equal([decimals(v) for v in copies[0][1].strip("()").split()], [8, 8, 8, 8], "the copy's values")
table = texts_of(DXF, "TABLE_TEXT")
rows = rows_of_table(table)
equal(len(rows), RECORDS, "rows of the schedule")
total = sum(float(area) for _, area in rows)
equal(table[0], f"{total:.3f}", "the total is the sum of the rows")
equal(sorted((label, value_list.split()[-2]) for label, value_list, _ in linked),
      sorted(rows), "each row's area is its mark's")

with open(TRANSCRIPT, encoding="utf-8") as text:
    dumped = sum(1 for line in text.read().splitlines() if line.startswith("ハンドル："))
equal(dumped, RECORDS, "records listed by the dump")

out = os.path.join(os.path.dirname(os.path.abspath(DXF)), "maintenance_acceptance.csv")
done = subprocess.run([os.environ["TESSERA"], "export", DXF, "--csv", out], capture_output=True,
                      text=True)
equal(done.returncode, 0, f"export: {done.stderr}")
with open(out, encoding="utf-8-sig", newline="") as exported:
    exported_rows = list(csv.DictReader(exported))
equal(sorted((r["label"], r["area"]) for r in exported_rows if r["linked"] == "yes"), sorted(rows),
      "the export's linked figures against the schedule")
if failures:
    print("\n".join(failures))
    sys.exit(1)
