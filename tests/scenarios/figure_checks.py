"""Reads area figures back from a saved drawing (ezdxf) for the scenario checks.

A figure is found from its record: each entry of a figure dictionary ("DICT_TRIANGLE", ...) is
keyed by the outline's handle and holds the mark handle, the shape handles and the value rules.
The figure's group is the anonymous group that holds the outline; its members are read in the
order the file lists them.

A check script makes a Checker for the DXF path, looks figures up and compares, then calls
finish(), which prints every failed comparison and exits 1 when there was one.
"""
import math
import sys

import ezdxf


def group_members_in_file_order(path):
    """Handle of every GROUP with its member handles (code 340) in the order of the file."""
    with open(path, encoding="utf-8") as dxf:
        lines = [line.strip() for line in dxf.read().splitlines()]
    groups, current, handle = {}, None, None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i], lines[i + 1]
        if code == "0":
            current = [] if value == "GROUP" else None
            handle = None
        elif current is not None and code == "5" and handle is None:
            handle = value
            groups[handle] = current
        elif current is not None and code == "340":
            current.append(value)
    return groups


class Figure:
    """One linked figure: its record's data, outline, mark and group members."""

    def __init__(self, doc, groups, key, record):
        self.key = key
        tags = [(t.code, t.value) for sub in record.xtags.subclasses[1:] for t in sub]
        handles = [value for code, value in tags if code == 5]
        self.mark_handle, self.shape_handles = handles[0], handles[1:]
        self.rules = tuple(value for code, value in tags if code in (70, 71, 72))
        self.outline = doc.entitydb.get(key)
        self.mark = doc.entitydb.get(self.mark_handle)
        self.members = next((m for m in groups.values() if key in m), [])
        self.entities = [doc.entitydb.get(h) for h in self.members]


class Checker:
    def __init__(self, path):
        self.path = path
        self.doc = ezdxf.readfile(path)
        self.groups = group_members_in_file_order(path)
        self.failures = []

    def figures(self, dictionary):
        """The figures of one dictionary, in dictionary order."""
        if dictionary not in self.doc.rootdict:
            return []
        entries = self.doc.rootdict[dictionary]
        return [Figure(self.doc, self.groups, key, record) for key, record in entries.items()]

    def expect(self, condition, what):
        if not condition:
            self.failures.append(what)
        return condition

    def equal(self, actual, expected, what):
        return self.expect(actual == expected, f"{what}: {actual!r}, expected {expected!r}")

    def near(self, actual, expected, what, tolerance=1e-3):
        actual_list = list(actual) if hasattr(actual, "__iter__") else [actual]
        expected_list = list(expected) if hasattr(expected, "__iter__") else [expected]
        close = len(actual_list) >= len(expected_list) and all(
            math.isclose(a, e, abs_tol=tolerance) for a, e in zip(actual_list, expected_list))
        return self.expect(close, f"{what}: {actual_list}, expected {expected_list}")

    def figure_layout(self, figure, application, layout):
        """The group holds the outline first and then `layout`: (DXF type, role, layer) per member
        in creation order, the mark last; each member carries exactly its role."""
        kinds = [(e.dxftype(), roles(e, application), e.dxf.layer) for e in figure.entities]
        expected = [(kind, [role], layer) for kind, role, layer in layout]
        self.equal(kinds, expected, f"figure {figure.key} members")
        self.equal(figure.members[:1], [figure.key], "the outline is the first member and the key")
        self.equal(figure.members[-1:], [figure.mark_handle], "the mark is the last member")

    def text(self, entity, string, position, rotation_degrees, what):
        if not self.expect(entity is not None and entity.dxftype() == "TEXT", f"{what}: no text"):
            return
        self.equal(entity.dxf.text, string, f"{what} string")
        self.near(entity.dxf.align_point, position, f"{what} alignment point")
        self.near(entity.dxf.rotation % 360.0, rotation_degrees, f"{what} rotation")
        self.equal((entity.dxf.halign, entity.dxf.valign), (1, 1), f"{what} centre/bottom")

    def mark(self, figure, point, attributes, what="mark"):
        mark = figure.mark
        if not self.expect(mark is not None and mark.dxftype() == "INSERT", f"{what}: no mark"):
            return
        self.near(mark.dxf.insert, point, f"{what} insertion point")
        self.equal(attribs(mark), attributes, f"{what} attributes")

    def finish(self):
        for failure in self.failures:
            print("FAILED: " + failure)
        sys.exit(1 if self.failures else 0)


def roles(entity, application):
    if not entity.has_xdata(application):
        return []
    return [value for code, value in entity.get_xdata(application) if code == 1000]


def attribs(insert):
    return {a.dxf.tag: a.dxf.text for a in insert.attribs}


def sideways(point, angle_degrees, distance):
    """The point `distance` away at `angle_degrees`, as the host's polar point."""
    angle = math.radians(angle_degrees)
    return (point[0] + distance * math.cos(angle), point[1] + distance * math.sin(angle))
