"""Helpers for the linkage scenarios: what a drawing holds, by handle, and whether two drawings
agree on it.

A script saves a drawing before an edit (SAVEAS NAME.before.dxf: the program runs in the output
folder, so it lands beside the scenario's own drawing) and the check compares it with the drawing
after the edit and its UNDO. Viewport and handle-seed bookkeeping is left out of the comparison:
an undone command may advance the handle seed and the view.
"""
import os
import sys

import ezdxf

# What an undo may leave different: the view, and table records that only follow the handle seed.
IGNORED_TYPES = {"VPORT"}
IGNORED_ATTRIBUTES = {"owner"}


def saved_beside(dxf, name):
    """The path of a drawing the script saved under `name` in the scenario's output folder."""
    return os.path.join(os.path.dirname(os.path.abspath(dxf)), name)


def contents(path):
    """Every live object of the drawing by handle: its DXF type, its attributes, its attributes'
    and extended data's texts."""
    doc = ezdxf.readfile(path)
    found = {}
    for entity in doc.entitydb.values():
        handle = entity.dxf.handle
        if handle is None or not entity.is_alive or entity.dxftype() in IGNORED_TYPES:
            continue
        attributes = sorted((key, repr(value))
                            for key, value in entity.dxf.all_existing_dxf_attribs().items()
                            if key not in IGNORED_ATTRIBUTES)
        extra = []
        if entity.dxftype() == "INSERT":
            extra = [(a.dxf.tag, a.dxf.text, repr(a.dxf.insert)) for a in entity.attribs]
        xdata = entity.xdata.data if getattr(entity, "xdata", None) else {}
        extra.append(sorted((application, repr(list(tags))) for application, tags in xdata.items()))
        found[handle] = (entity.dxftype(), attributes, extra)
    return found


def differences(before_path, after_path, limit=20):
    """Lines describing each object that differs between the two drawings; empty when they agree."""
    before, after = contents(before_path), contents(after_path)
    lines = []
    for handle in sorted(set(before) | set(after), key=lambda h: int(h, 16)):
        if before.get(handle) != after.get(handle):
            lines.append(f"{handle}: {before.get(handle)}\n    now {after.get(handle)}")
            if len(lines) >= limit:
                break
    return lines


def expect_same_drawing(before_path, after_path, what):
    """Exits with the differences when the two drawings do not agree."""
    found = differences(before_path, after_path)
    if found:
        print(f"{what}: the drawings differ")
        print("\n".join(found))
        sys.exit(1)


def texts_of(path, layer=None):
    """The strings of the model-space texts, in file order, optionally of one layer."""
    doc = ezdxf.readfile(path)
    return [e.dxf.text for e in doc.modelspace().query("TEXT")
            if layer is None or e.dxf.layer == layer]


def mark_values(path):
    """Each area mark's label (BANGO1 or BANGO2), value list (SK) and sign (PM), in file order."""
    doc = ezdxf.readfile(path)
    marks = []
    for insert in doc.modelspace().query("INSERT"):
        tags = {a.dxf.tag: a.dxf.text for a in insert.attribs}
        if "SK" in tags:
            label = tags.get("BANGO2") or tags.get("BANGO1", "")
            marks.append((label, tags["SK"], tags.get("PM", "")))
    return marks


# What a check found wrong, collected so that one run reports every difference.
failures = []


def equal(actual, expected, what):
    if actual != expected:
        failures.append(f"{what}:\n  got      {actual!r}\n  expected {expected!r}")


def table_texts(general, total, triangle, sums):
    """The texts of a general-form table (its total, rows, "計", "m2") and then of a triangle-form
    table (sum, half and land area, rows and footer labels), in the order the schedule draws them."""
    texts = [total] + [t for row in general for t in row] + ["計", "m2"]
    texts += [sums[0], sums[1], sums[1]] + [t for row in triangle for t in row]
    return texts + ["計", "１／２", "地積", "m2"]


def expect_drawing_state(path, dictionaries, figures, general, total, triangle, sums, marked):
    """One saved drawing's figures and schedules, collected into `failures`.

    dictionaries: label -> the dictionary of its record; figures: label -> (value texts, value
    list, sign); general: (sign, number, formula, area) rows and its total; triangle: (sign,
    number, base, height, double area) rows and (sum, half) of its footer; marked: the labels whose
    marks are left, in file order."""
    from schedule_checks import Schedules  # the schedule reader is only needed here

    name = os.path.basename(path)
    if not os.path.exists(path):
        failures.append(f"the script did not save {name}")
        return
    equal(texts_of(path, "AREA_VALUE"), [t for label in figures for t in figures[label][0]],
          f"{name}: value texts")
    equal(mark_values(path), [(label, *figures[label][1:]) for label in marked], f"{name}: marks")
    equal(texts_of(path, "TABLE_TEXT"), table_texts(general, total, triangle, sums),
          f"{name}: schedule texts")
    footer = [sums[0], sums[1], sums[1]]
    rows = [(dictionaries[label], label, [list(r) + footer for r in triangle if r[1] == label],
             [list(r) + [total] for r in general if r[1] == label]) for label in marked]
    equal(sorted(Schedules(path).records()), sorted(rows), f"{name}: rows of the records")
