"""The copies carry their sources' values with eight decimals in drawing units; the sources stay
linked; erasing a copy's mark changes no schedule."""
import sys

from linkage_checks import equal, failures, mark_values, saved_beside, texts_of

# Triangle (0,0), (4000,0), (0,3000): base |P2P3| 5000, height of P1 over it 12e6 / 5000 = 2400,
# their product and half of it. The sector's arc runs from -60° to 60° through the picked points
# (radius 1000 to within the picks' rounding): 120° and r² × π / 3.
TRIANGLE_COPY = "(5000.00000000 2400.00000000 12000000.00000000 6000000.00000000)"
SECTOR_COPY = "(999.99999345 120.00000043 1047197.54125261)"
# Rectangle 4000 × 3000; trapezoid of bases 4000 and 2000, height 3000; circle of radius 1000.
OTHER_COPIES = ["(4000.00000000 3000.00000000 12000000.00000000)",
                "(4000.00000000 2000.00000000 3000.00000000 9000000.00000000)",
                "(1000.00000000 3141592.65358979)"]
TRIANGLE, SECTOR = "( 5.00 2.40 12.00 6.00 )", "( 1.00 120.00 1.05 )"
OTHERS = ["( 4.00 3.00 12.00 )", "( 4.00 2.00 3.00 9.00 )", "( 1.00 3.14 )"]
# After the source's apex moved to (-2000,0): height 3.60 over the same base.
STRETCHED = "( 5.00 3.60 18.00 9.00 )"
ROWS = ["", "1", "1.00x1.00x3.14x120.00/360", "1.05", "", "1", "4.00x3.00", "12.00", "", "1",
        "(4.00+2.00)x3.00x0.5", "9.00", "", "1", "1.00x1.00x3.14", "3.14", "計", "m2"]
TABLE = ["31.19", "", "1", "5.00x2.40x0.5", "6.00"] + ROWS
STRETCHED_TABLE = ["34.19", "", "1", "5.00x3.60x0.5", "9.00"] + ROWS

copied = saved_beside(sys.argv[1], "copy_figures.copied.dxf")
erased = saved_beside(sys.argv[1], "copy_figures.erased.dxf")
equal([values for _, values, _ in mark_values(copied)],
      [TRIANGLE, SECTOR] + OTHERS + [TRIANGLE_COPY, SECTOR_COPY] + OTHER_COPIES,
      "value lists after the copies")
equal(texts_of(copied, "TABLE_TEXT"), TABLE, "the schedule lists the sources only")
equal([values for _, values, _ in mark_values(erased)],
      [STRETCHED, SECTOR] + OTHERS + [TRIANGLE_COPY] + OTHER_COPIES,
      "the source followed its stretch, the copy kept its values, the sector's copy is gone")
equal(texts_of(erased, "TABLE_TEXT"), STRETCHED_TABLE, "the schedule after the stretch and erase")
if failures:
    print("\n".join(failures))
    sys.exit(1)
