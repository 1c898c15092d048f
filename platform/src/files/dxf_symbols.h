// DXF filing of the containers: symbol table records (layers, blocks, registered
// applications), dictionaries and groups. The object's own "0" tag is the caller's; the base
// object's groups (handle, reactors, owner) come through AcDbObject::dxfOutFields/dxfInFields.
#pragma once

#include <string>

#include "cad/db_database.h"
#include "files/saved_objects.h"

namespace tessera::files {

void WriteLayerRecord(AcDbDxfFiler* filer, const AcDbLayerTableRecord* layer);
// `layout` is the block's layout object when the drawing came from a file that had one.
void WriteBlockRecord(AcDbDxfFiler* filer, const AcDbBlockTableRecord* block,
                      const std::string& layout);
void WriteRegAppRecord(AcDbDxfFiler* filer, const AcDbRegAppTableRecord* application);
// Entries and members that are not saved are left out.
void WriteDictionary(AcDbDxfFiler* filer, const AcDbDictionary* dictionary,
                     const SavedObjects& saved);
void WriteGroup(AcDbDxfFiler* filer, const AcDbGroup* group, const SavedObjects& saved);

// Readers, for new objects not yet in the drawing; each reads the base fields first.
Acad::ErrorStatus ReadLayerRecord(AcDbDxfFiler* filer, AcDbLayerTableRecord* layer);
// Returns the block's layout handle text in `layout` ("" when none).
Acad::ErrorStatus ReadBlockRecord(AcDbDxfFiler* filer, AcDbBlockTableRecord* block,
                                  std::string& layout);
Acad::ErrorStatus ReadRegAppRecord(AcDbDxfFiler* filer, AcDbRegAppTableRecord* application);
Acad::ErrorStatus ReadDictionary(AcDbDxfFiler* filer, AcDbDictionary* dictionary);
Acad::ErrorStatus ReadGroup(AcDbDxfFiler* filer, AcDbGroup* group);

}  // namespace tessera::files
