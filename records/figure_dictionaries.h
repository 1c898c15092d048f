// The six figure dictionaries under the drawing's named-object dictionary, one per shape. Each
// entry is a figure record keyed by the handle text of the figure's outline entity; the mark is
// found through the record's mark handle. A dictionary is made with the first figure of its
// shape and never removed, also when it becomes empty.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "cad/arx.h"
#include "records/figure_records.h"

namespace area {

inline constexpr const char* kDictTriangle = "DICT_TRIANGLE";
inline constexpr const char* kDictRectangle = "DICT_RECTANGLE";
inline constexpr const char* kDictTrapezoid = "DICT_TRAPEZOID";
inline constexpr const char* kDictCircle = "DICT_CIRCLE";
inline constexpr const char* kDictSector = "DICT_SECTOR";
inline constexpr const char* kDictLune = "DICT_LUNE";

// The six names in the order the record dump and the copy completion walk them.
inline constexpr std::array<const char*, 6> kFigureDictionaries = {
    kDictTriangle, kDictRectangle, kDictTrapezoid, kDictCircle, kDictSector, kDictLune};

// The shape's dictionary open in `mode` (the caller closes it); null when the drawing has none.
// Nothing is made. `database` null means the working drawing.
AcDbDictionary* OpenShapeDictionary(const char* dictionaryName,
                                    AcDb::OpenMode mode = AcDb::kForRead,
                                    AcDbDatabase* database = nullptr);
// An iterator over the shape's dictionary in its order; null when the drawing has none.
std::unique_ptr<AcDbDictionaryIterator> ShapeDictionaryEntries(const char* dictionaryName,
                                                               AcDbDatabase* database = nullptr);

// Hands a new record (not yet in a drawing) to the shape's dictionary under `key`, creating the
// dictionary on first use, and closes it. Returns 1 when the dictionary took the record; 0 when
// the dictionaries could not be opened or made or the entry could not be set (the record is
// then still the caller's to delete, and `setAtStatus` says why when given).
int StoreFigureRecord(const char* dictionaryName, const char* key, AcDbObject* record,
                      Acad::ErrorStatus* setAtStatus = nullptr, AcDbDatabase* database = nullptr);

// The record whose mark handle is the handle of `markId`, opened in `mode` (the caller closes
// it), with its key; null when the dictionary or such a record does not exist. Of several such
// records, the first in the dictionary's order (records/record_index.h finds it).
FigureRecord* FindRecordByMark(const char* dictionaryName, AcDbObjectId markId, AcDb::OpenMode mode,
                               std::string* key = nullptr, AcDbDatabase* database = nullptr);

// The record stored under `key` (an outline's handle text), opened in `mode`; null when none.
FigureRecord* FindRecordByKey(const char* dictionaryName, const char* key, AcDb::OpenMode mode,
                              AcDbDatabase* database = nullptr);

// Removes the entry and erases its record with the flag.
Acad::ErrorStatus RemoveFigureRecord(const char* dictionaryName, const char* key, bool erasing,
                                     AcDbDatabase* database = nullptr);

}  // namespace area
