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

FIGURE_DICTIONARIES = ("DICT_TRIANGLE", "DICT_RECTANGLE", "DICT_TRAPEZOID", "DICT_CIRCLE",
                       "DICT_SECTOR", "DICT_LUNE")


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


# What each entity kind shows, by DXF attribute; coordinates are compared to a millionth.
GEOMETRY = {
    "LINE": ("start", "end"),
    "CIRCLE": ("center", "radius"),
    "ARC": ("center", "radius", "start_angle", "end_angle"),
    "TEXT": ("text", "insert", "align_point", "rotation", "height", "halign", "valign", "style"),
    "INSERT": ("name", "insert", "xscale", "yscale", "rotation"),
    "POLYLINE": ("flags",),
}


def rounded(value):
    if isinstance(value, float):
        value = round(value, 6)
        return 0.0 if value == 0 else value
    if hasattr(value, "__iter__") and not isinstance(value, str):
        return tuple(rounded(v) for v in value)
    return value


def extended_data(entity):
    if not entity.xdata:
        return {}
    return {app: [(code, value) for code, value in entity.get_xdata(app)]
            for app in entity.xdata.data}


def describe(entity):
    """Everything an entity shows apart from its handle and the handles it refers to: kind,
    layer, geometry, texts, attributes, vertices and extended data."""
    kind = entity.dxftype()
    shown = {"kind": kind, "layer": entity.dxf.layer, "xdata": extended_data(entity)}
    for key in GEOMETRY.get(kind, ()):
        shown[key] = rounded(entity.dxf.get(key))
    if kind == "POLYLINE":
        shown["vertices"] = [rounded(v.dxf.location) for v in entity.vertices]
    if kind == "INSERT":
        shown["attributes"] = [(a.dxf.tag, a.dxf.text, rounded(a.dxf.insert))
                               for a in entity.attribs]
    return shown


def describe_figure(figure):
    """A figure without its handles: its members in group order, which members the record
    names, and the record's value rules."""
    position = {handle: index for index, handle in enumerate(figure.members)}
    return {"members": [describe(e) for e in figure.entities],
            "mark": position.get(figure.mark_handle),
            "record": [position.get(h) for h in figure.shape_handles],
            "rules": figure.rules}


def record_tags(record):
    return [(t.code, t.value) for sub in record.xtags.subclasses[1:] for t in sub]


def inventory(checker):
    """The drawing by handle: model-space entities (with their reactors), groups with their
    members in order, figure dictionaries with each record's fields, and the kind of every object
    the drawing holds (below $HANDSEED; the writer numbers the file's standard objects anew)."""
    doc = checker.doc
    seed = int(doc.header.get("$HANDSEED", "0"), 16)
    entities = {}
    for entity in doc.modelspace():
        shown = describe(entity)
        shown["reactors"] = sorted(entity.get_reactors())
        entities[entity.dxf.handle] = shown
    dictionaries = {}
    for name in FIGURE_DICTIONARIES:
        if name in doc.rootdict:
            entries = doc.rootdict[name].items()
            dictionaries[name] = {key: record_tags(record) for key, record in entries}
    objects = {o.dxf.handle: o.dxftype() for o in doc.objects if int(o.dxf.handle, 16) < seed}
    return {"entities": entities, "groups": checker.groups, "dictionaries": dictionaries,
            "objects": objects}
