"""What ezdxf sees of the figure records in a DXF file.

  ezdxf_records.py FILE   print the audit, the CLASSES entries, the DICT_ dictionaries under the
                          named-object dictionary with their keys, and each record's own tags
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(f"audit errors {len(auditor.errors)} fixes {len(auditor.fixes)}")
    for entry in auditor.errors:
        print("error:", entry.message)
    for entry in doc.classes.classes.values():
        print("class", entry.dxf.name, entry.dxf.cpp_class_name, entry.dxf.app_name)
    root = doc.rootdict
    for name, value in root.items():
        if name.startswith("DICT_"):
            print("dictionary", name, " ".join(value.keys()))
    for obj in doc.objects:
        if obj.dxftype().startswith("AREADIC_"):
            own = obj.xtags.subclasses[1]
            print("object", obj.dxftype(), obj.dxf.handle,
                  " ".join(f"{tag.code}={tag.value}" for tag in own))


if __name__ == "__main__":
    main(sys.argv[1])
