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


def _placer(x0, y0):
    return lambda x, y: f"({coordinate(x0 + x)},{coordinate(y0 + y)})"


def general_table(x0, y0, rows, total, text_size):
    """The described entities of a general-form table at (x0, y0), table unit 1, no unit text;
    rows are (sign, number, formula, area)."""
    p = _placer(x0, y0)
    sign_x = 1000 - (350 + 1.2 * text_size)
    yb = -1400 - 600 * len(rows)
    lines = [f"INSERT T TABLE_LINE AREA_TABLE {p(0, 0)} scale 1 rotation 0",
             f"TEXT TEXT TABLE_TEXT R {p(18350, yb - 450)} \"{total}\""]
    for i, (sign, number, formula, area) in enumerate(rows):
        top, bottom = -1400 - 600 * i, -2000 - 600 * i
        lines += [f"LINE L TABLE_LINE {p(x, top)}-{p(x, bottom)}" for x in (0, 2000, 15000, 18500)]
        lines += [f"LINE L TABLE_LINE {p(0, bottom)}-{p(18500, bottom)}",
                  f"TEXT TEXT TABLE_TEXT L {p(sign_x, bottom + 150)} \"{sign}\"",
                  f"TEXT TEXT TABLE_TEXT C {p(1000, bottom + 150)} \"{number}\"",
                  f"TEXT TEXT TABLE_TEXT L {p(2300, bottom + 150)} \"{formula}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(18350, bottom + 150)} \"{area}\""]
    lines += [f"LINE L TABLE_LINE {p(0, yb)}-{p(0, yb - 600)}",
              f"LINE L TABLE_LINE {p(18500, yb)}-{p(18500, yb - 600)}",
              f"LINE L TABLE_LINE {p(0, yb - 600)}-{p(18500, yb - 600)}",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 450)} \"計\""]
    return lines


def triangle_table(x0, y0, rows, total, half, text_size):
    """The described entities of a triangle-form table at (x0, y0), table unit 1, with "m2";
    rows are (sign, number, base, height, double area)."""
    p = _placer(x0, y0)
    sign_x = 1000 - (350 + 1.2 * text_size)
    yb = -1400 - 600 * len(rows)
    lines = [f"INSERT T TABLE_LINE AREA_TABLE {p(0, 0)} scale 1 rotation 0",
             f"TEXT TEXT TABLE_TEXT R {p(10350, yb - 450)} \"{total}\"",
             f"TEXT TEXT TABLE_TEXT R {p(10350, yb - 1050)} \"{half}\"",
             f"TEXT TEXT TABLE_TEXT R {p(10350 - 3 * text_size, yb - 1650)} \"{half}\""]
    for i, (sign, number, base, height, double) in enumerate(rows):
        top, bottom = -1400 - 600 * i, -2000 - 600 * i
        lines += [f"LINE L TABLE_LINE {p(x, top)}-{p(x, bottom)}"
                  for x in (0, 2000, 4500, 7000, 10500)]
        lines += [f"LINE L TABLE_LINE {p(0, bottom)}-{p(10500, bottom)}",
                  f"TEXT TEXT TABLE_TEXT L {p(sign_x, bottom + 150)} \"{sign}\"",
                  f"TEXT TEXT TABLE_TEXT C {p(1000, bottom + 150)} \"{number}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(4350, bottom + 150)} \"{base}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(6850, bottom + 150)} \"{height}\"",
                  f"TEXT TEXT TABLE_TEXT R {p(10350, bottom + 150)} \"{double}\""]
    lines += [f"LINE L TABLE_LINE {p(0, yb)}-{p(0, yb - 1800)}",
              f"LINE L TABLE_LINE {p(2000, yb)}-{p(2000, yb - 1200)}",
              f"LINE L TABLE_LINE {p(10500, yb)}-{p(10500, yb - 1800)}",
              f"LINE L TABLE_LINE {p(0, yb - 600)}-{p(10500, yb - 600)}",
              f"LINE L TABLE_LINE {p(0, yb - 1200)}-{p(10500, yb - 1200)}",
              f"LINE L TABLE_LINE {p(0, yb - 1800)}-{p(10500, yb - 1800)}",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 450)} \"計\"",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 1050)} \"１／２\"",
              f"TEXT TEXT TABLE_TEXT C {p(1000, yb - 1650)} \"地積\"",
              f"TEXT TEXT TABLE_TEXT R {p(10350, yb - 1650)} \"m2\""]
    return lines


def chunks(items, size):
    return [items[i:i + size] for i in range(0, len(items), size)]
