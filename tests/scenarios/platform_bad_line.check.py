"""What ran before the failed line is in the saved drawing, and nothing after it."""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
kinds = sorted(entity.dxftype() for entity in doc.modelspace())
if kinds != ["CIRCLE", "LINE"]:
    print(f"model space holds {kinds}, expected a line and a circle")
    sys.exit(1)
