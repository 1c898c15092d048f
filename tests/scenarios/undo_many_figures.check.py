"""After UNDO Back the drawing holds what it held at the mark: the same objects with the same
values, the same dictionary entries in the same order and the same group members."""
import sys

import ezdxf

from linkage_checks import contents, equal, failures, saved_beside

# The standard tables and sequence ends are numbered as the file is written, after the handle
# seed, which an undone creation moves on; the rest keeps its handles.
KEPT_TYPES = ("LINE", "TEXT", "INSERT", "ATTRIB", "POLYLINE", "VERTEX", "AREADIC_TRIANGLE", "GROUP")


def figures_of(path):
    return {handle: item for handle, item in contents(path).items() if item[0] in KEPT_TYPES}


def containers_of(path, seed):
    """Each dictionary's keys and entry handles in order, and each group's member handles, of the
    drawing's own objects: those the file writer numbers from the seed on are left out."""
    doc = ezdxf.readfile(path)
    own = lambda handle: int(handle, 16) < seed
    shown = lambda handle: handle if own(handle) else "written"
    found = {}
    for entity in doc.entitydb.values():
        if not entity.is_alive or not own(entity.dxf.handle):
            continue
        if entity.dxftype() == "DICTIONARY":
            found[entity.dxf.handle] = [
                (key, shown(value if isinstance(value, str) else value.dxf.handle))
                for key, value in entity.items()]
        elif entity.dxftype() == "GROUP":
            found[entity.dxf.handle] = [member.dxf.handle for member in entity]
    return found


def agree(before, after, what):
    """The same handles, each with the same item."""
    equal(sorted(after), sorted(before), what)
    for handle in sorted(set(before) & set(after)):
        equal(after[handle], before[handle], f"{what}: {handle}")


before_path = saved_beside(sys.argv[1], "undo_many_figures.before.dxf")
drawn_path = saved_beside(sys.argv[1], "undo_many_figures.drawn.dxf")
before = figures_of(before_path)
equal(len(figures_of(drawn_path)) > 10 * len(before), True, "the figures were drawn")
agree(before, figures_of(sys.argv[1]), "objects after UNDO Back")
seed = int(ezdxf.readfile(before_path).header["$HANDSEED"], 16)
agree(containers_of(before_path, seed), containers_of(sys.argv[1], seed), "entries after UNDO Back")
if failures:
    print("\n".join(failures[:10]))
    sys.exit(1)
