"""What ezdxf sees in a DXF file, for the drawing-file tests.

  ezdxf_view.py audit FILE   audit the file; print "errors N fixes M" and each problem
  ezdxf_view.py view FILE    print a JSON summary: entities of every layout and block with their
                             attributes, attributes of block references, extended data, objects
  ezdxf_view.py make FILE    write a drawing made by ezdxf, with kinds the platform models and
                             kinds it does not (HATCH, MTEXT)
  ezdxf_view.py twins RELEASE FOLDER
                             write one drawing of that release (R12 ... R2018) twice, as
                             FOLDER/text.dxf and as binary DXF in FOLDER/binary.dxf
"""
import json
import sys

import ezdxf


def audit(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(f"errors {len(auditor.errors)} fixes {len(auditor.fixes)}")
    for entry in auditor.errors:
        print("error:", entry.message)
    for entry in auditor.fixes:
        print("fix:", entry.message)


def describe(entity):
    attributes = {k: (list(v) if hasattr(v, "__iter__") and not isinstance(v, str) else v)
                  for k, v in entity.dxfattribs().items()}
    item = {"type": entity.dxftype(), "attributes": attributes}
    if entity.xdata is not None and entity.xdata.data:
        item["xdata"] = {app: [list(t) for t in entity.get_xdata(app)]
                         for app in sorted(entity.xdata.data.keys())}
    if entity.dxftype() == "INSERT":
        item["attribs"] = [describe(a) for a in entity.attribs]
    if entity.dxftype() == "HATCH":
        item["paths"] = [[list(v) for v in path.vertices] for path in entity.paths
                         if hasattr(path, "vertices")]
    if entity.dxftype() == "LWPOLYLINE":
        item["points"] = [list(p) for p in entity.get_points()]
    if entity.dxftype() == "POLYLINE":
        item["vertices"] = [list(v.dxf.location) for v in entity.vertices]
    return item


def view(path):
    doc = ezdxf.readfile(path)
    summary = {
        "layers": sorted(layer.dxf.name for layer in doc.layers),
        "model": [describe(e) for e in doc.modelspace()],
        "blocks": {b.name: [describe(e) for e in b] for b in doc.blocks
                   if not b.name.lower().startswith(("*model", "*paper"))},
        "objects": sorted(f"{o.dxftype()} {o.dxf.handle}" for o in doc.objects),
        "groups": {name: [e.dxf.handle for e in group] for name, group in doc.groups},
        "units": [doc.header.get("$INSUNITS"), doc.header.get("$MEASUREMENT")],
    }
    print(json.dumps(summary, sort_keys=True, ensure_ascii=False, indent=1))


def make(path):
    doc = ezdxf.new("R2007")
    doc.layers.add("WALLS", color=1)
    doc.appids.new("AREA_TRIANGLE")
    msp = doc.modelspace()
    line = msp.add_line((0, 0), (10, 5), dxfattribs={"layer": "WALLS"})
    line.set_xdata("AREA_TRIANGLE", [(1000, "TYPE_OUT"), (1070, 3), (1040, 2.5)])
    msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0), (10, 10)], format="xyseb", close=True)
    msp.add_circle((5, 5), 3)
    msp.add_text("テキスト", dxfattribs={"height": 2.5}).set_placement((1, 2))
    block = doc.blocks.new("MARK")
    block.add_attdef("BANGO1", (0, 0), dxfattribs={"height": 2.5})
    block.add_circle((0, 0), 1)
    insert = msp.add_blockref("MARK", (20, 20))
    insert.add_attrib("BANGO1", "イ1", (20, 20))
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 0), (5, 0), (5, 5)], is_closed=True)
    msp.add_mtext("multi\\Pline", dxfattribs={"char_height": 2})
    msp.add_line((0, 0), (1, 1), dxfattribs={"lineweight": 50, "true_color": 0xFF8000,
                                             "transparency": 0x02000080, "ltscale": 2.0})
    doc.header["$INSUNITS"] = 6
    group = doc.groups.new("OUTLINE")
    group.extend([line])
    doc.saveas(path)


def twins(release, folder):
    doc = ezdxf.new(release)
    doc.layers.add("WALLS", color=1)
    doc.appids.new("AREA_TRIANGLE")
    msp = doc.modelspace()
    line = msp.add_line((0, 0), (10.125, 5.3), dxfattribs={"layer": "WALLS", "color": 3})
    line.set_xdata("AREA_TRIANGLE", [(1000, "TYPE_OUT"), (1070, 3), (1040, 2.5),
                                     (1071, 70000), (1010, (1, 2, 3))])
    msp.add_circle((5, 5), 1 / 3)
    msp.add_arc((1, 1), 2, 15, 275.5)
    msp.add_text("Text ü", dxfattribs={"height": 2.5, "rotation": 30}).set_placement((1, 2))
    msp.add_polyline2d([(0, 0), (4, 0), (4, 3)], close=True)
    msp.add_polyline3d([(0, 0, 1), (4, 0, 2), (4, 3, 3)])
    block = doc.blocks.new("MARK")
    block.add_attdef("BANGO1", (0, 0), dxfattribs={"height": 2.5})
    block.add_circle((0, 0), 1)
    insert = msp.add_blockref("MARK", (20, 20))
    insert.add_attrib("BANGO1", "A1", (20, 20))
    if release != "R12":
        msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0), (10, 10)], format="xyseb", close=True)
        hatch = msp.add_hatch(color=2)
        hatch.paths.add_polyline_path([(0, 0), (5, 0), (5, 5)], is_closed=True)
        msp.add_mtext("multi\\Pline", dxfattribs={"char_height": 2})
        doc.groups.new("OUTLINE").extend([line])
    doc.saveas(f"{folder}/text.dxf")
    doc.saveas(f"{folder}/binary.dxf", fmt="bin")


if __name__ == "__main__":
    if sys.argv[1] == "twins":
        twins(sys.argv[2], sys.argv[3])
    else:
        {"audit": audit, "view": view, "make": make}[sys.argv[1]](sys.argv[2])
