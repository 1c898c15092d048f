// Names under which a drawing keeps the parts of a DXF file the platform does not model, so
// that writing the drawing back puts them where they were.
#pragma once

namespace tessera::files::preserved {

// CLASSES entries as read, each starting with its "0 CLASS" tag.
constexpr const char* kClasses = "CLASSES";
// A table the platform does not model ("TABLE LTYPE"): its TABLE record, then its entries.
constexpr const char* kTablePrefix = "TABLE ";
// A section the platform does not know ("SECTION THUMBNAILIMAGE"): its records.
constexpr const char* kSectionPrefix = "SECTION ";
// Per block: (330 block record handle), (5 BLOCK handle), (5 ENDBLK handle).
constexpr const char* kBlockEnds = "BLOCK ENDS";
// Per block record: (5 block record handle), (340 its layout's handle).
constexpr const char* kBlockLayouts = "BLOCK LAYOUTS";

}  // namespace tessera::files::preserved
