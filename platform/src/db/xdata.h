// Extended data kept by an object: a chain of result buffers, blocks of (1001 application name)
// followed by that application's items.
#pragma once

#include "cad/db_database.h"

namespace tessera::db {

void ReleaseXData(resbuf*& chain);
// A copy of one application's block (or of every block for null); null when there is none.
resbuf* CopyXData(const resbuf* chain, const char* application);
// Replaces the blocks of the applications named in `given`; a block with no items removes
// that application's data. False when `given` does not start with a 1001 item.
bool MergeXData(resbuf*& chain, const resbuf* given);
// Adds every application named in the data to the drawing's registered applications.
void RegisterXDataApplications(AcDbDatabase* database, const resbuf* xdata);
Acad::ErrorStatus FileXData(AcDbDwgFiler* filer, const resbuf* chain);
Acad::ErrorStatus ReadXData(AcDbDwgFiler* filer, resbuf*& chain);

}  // namespace tessera::db
