"""Reads area schedules back from a saved drawing (ezdxf) for the scenario checks.

Every entity with "PLOT_TALLY" extended data is described as one line of text, in drawing order:

    INSERT T layer block (x,y) scale s rotation degrees
    LINE L layer (x,y)-(x,y)
    TEXT TEXT layer L|C|R (x,y) "text"      the alignment point, or the start of a left text

and the lines are split into tables at each header block. The rows a figure record lists are
read from its groups 73/74 (row counts) and 300 (row handles), and each row is given as the
strings of the texts its handles name.
"""
import math

import ezdxf

FIGURE_DICTIONARIES = ["DICT_TRIANGLE", "DICT_RECTANGLE", "DICT_TRAPEZOID", "DICT_SECTOR",
                       "DICT_CIRCLE", "DICT_LUNE"]
TRIANGLE_ROW_HANDLES = 8
TABLE_ROW_HANDLES = 5


def coordinate(value):
    rounded = round(value, 6)
    if rounded == 0:
        rounded = 0.0
    text = f"{rounded:.10g}"
    return text


def point(p):
    return f"({coordinate(p[0])},{coordinate(p[1])})"


def role(entity):
    if not entity.has_xdata("PLOT_TALLY"):
        return ""
    return "".join(str(value) for code, value in entity.get_xdata("PLOT_TALLY") if code == 1000)


def describe(entity, tag):
    head = f"{tag} {entity.dxf.layer} "
    kind = entity.dxftype()
    if kind == "LINE":
        return f"LINE {head}{point(entity.dxf.start)}-{point(entity.dxf.end)}"
    if kind == "TEXT":
        mode = entity.dxf.get("halign", 0)
        at = entity.dxf.insert if mode == 0 else entity.dxf.align_point
        return f"TEXT {head}{'LCR'[mode] if mode < 3 else '?'} {point(at)} \"{entity.dxf.text}\""
    if kind == "INSERT":
        rotation = entity.dxf.get("rotation", 0.0) % 360.0
        if math.isclose(rotation, 360.0, abs_tol=1e-6):
            rotation = 0.0
        return (f"INSERT {head}{entity.dxf.name} {point(entity.dxf.insert)} "
                f"scale {coordinate(entity.dxf.get('xscale', 1.0))} "
                f"rotation {coordinate(rotation)}")
    return f"{kind} {head}"


class Schedules:
    def __init__(self, path):
        self.doc = ezdxf.readfile(path)
        self.failures = []

    def lines(self):
        """Every schedule entity of model space, described, in drawing order."""
        described = []
        for entity in self.doc.modelspace():
            tag = role(entity)
            if tag:
                described.append(describe(entity, tag))
        return described

    def tables(self):
        """The described entities split into tables, each starting at its header block."""
        tables = []
        for line in self.lines():
            if line.startswith("INSERT ") or not tables:
                tables.append([])
            tables[-1].append(line)
        return tables

    def text_of(self, handle):
        entity = self.doc.entitydb.get(handle)
        return entity.dxf.text if entity is not None and entity.dxftype() == "TEXT" else None

    def records(self):
        """(dictionary, mark label, triangle rows, table rows) per figure record, each row the
        list of the strings its handles name."""
        found = []
        for name in FIGURE_DICTIONARIES:
            if name not in self.doc.rootdict:
                continue
            for _key, record in self.doc.rootdict[name].items():
                tags = [(t.code, t.value) for sub in record.xtags.subclasses[1:] for t in sub]
                mark = self.doc.entitydb.get(next(v for c, v in tags if c == 5))
                label = ""
                for attrib in mark.attribs:
                    if attrib.dxf.tag in ("BANGO1", "BANGO2") and attrib.dxf.text:
                        label = attrib.dxf.text
                counts = {c: v for c, v in tags if c in (73, 74)}
                triangles = counts[73] if name == "DICT_TRIANGLE" else 0
                handles = [v for c, v in tags if c == 300]
                split = triangles * TRIANGLE_ROW_HANDLES
                triangle_rows = chunks(handles[:split], TRIANGLE_ROW_HANDLES)
                table_rows = chunks(handles[split:], TABLE_ROW_HANDLES)
                found.append((name, label, [[self.text_of(h) for h in row] for row in triangle_rows],
                              [[self.text_of(h) for h in row] for row in table_rows]))
        return found

    def equal(self, actual, expected, what):
        if actual != expected:
            self.failures.append(f"{what}:\n  got      {actual!r}\n  expected {expected!r}")

    def finish(self):
        for failure in self.failures:
            print(failure)
        raise SystemExit(1 if self.failures else 0)


def chunks(items, size):
    return [items[i:i + size] for i in range(0, len(items), size)]
