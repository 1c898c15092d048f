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
// The handle seed a save writes while nothing took a handle since the drawing was read:
// (5 the seed above every handle of the file and every object saved), (5 the drawing's seed
// after reading). Objects an application makes again while reading and never saves take
// handles, and without it every open and save would raise the seed.
constexpr const char* kHandseed = "HANDSEED";

}  // namespace tessera::files::preserved
