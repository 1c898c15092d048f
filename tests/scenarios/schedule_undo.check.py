"""After U the drawing's entities and figure records are those saved before the schedule."""
import sys

from linkage_checks import contents, equal, failures, saved_beside

# The standard tables and sequence ends are numbered as the file is written, after the handle
# seed, which an undone creation moves on; the rest keeps its handles.
KEPT_TYPES = ("LINE", "TEXT", "INSERT", "ATTRIB", "POLYLINE", "VERTEX", "AREADIC_TRIANGLE", "GROUP")


def figures_of(path):
    return {handle: item for handle, item in contents(path).items() if item[0] in KEPT_TYPES}


before = figures_of(saved_beside(sys.argv[1], "schedule_undo.before.dxf"))
after = figures_of(sys.argv[1])
equal(sorted(after), sorted(before), "what the drawing holds after U")
for handle in sorted(set(before) & set(after)):
    equal(after[handle], before[handle], f"object {handle}")
if failures:
    print("\n".join(failures[:10]))
    sys.exit(1)
