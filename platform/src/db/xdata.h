// Extended data kept by an object: blocks of (1001 application name) followed by that
// application's items, packed in the object's XDataItems.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cad/db_database.h"
#include "cad/xdata_items.h"

namespace tessera::db {

// A copy of one application's block (or of every block for null); null when there is none.
resbuf* CopyXData(const XDataItems& items, const char* application);
// Replaces the blocks of the applications named in `given`; a block with no items removes
// that application's data. False, with nothing changed, when `given` does not start with a 1001
// item or holds an item of a kind extended data does not keep (an object id, a 64-bit number).
bool MergeXData(XDataItems& items, const resbuf* given);
// Adds every application named in the data to the drawing's registered applications.
void RegisterXDataApplications(AcDbDatabase* database, const resbuf* xdata);
Acad::ErrorStatus FileXData(AcDbDwgFiler* filer, const XDataItems& items);
// Replaces the items with those read; leaves them unchanged when the read fails.
Acad::ErrorStatus ReadXData(AcDbDwgFiler* filer, XDataItems& items);
// Appends an item to packed items; false, with nothing appended, for a kind extended data does
// not keep.
bool AppendXDataItem(std::string& packed, const resbuf& item);
void AppendXDataText(std::string& packed, std::int16_t code, std::string_view text);

}  // namespace tessera::db
