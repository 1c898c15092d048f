// Finding a figure record by a handle it names (its mark, one of its value texts) without walking
// the dictionary: an index per drawing from handle to the records that name it.
//
// The index holds candidates, never the last word: a lookup opens each candidate and keeps only
// live records of the right dictionary that name the handle in the asked role, so a stale entry
// costs a check and is dropped. What it must never miss is a record that names a handle, so every
// road by which a record comes to name one reports it here: storing a new record, the setters,
// and reading the record's fields (file, undo, copy). A drawing's index is built from its
// dictionaries at its first lookup and dropped when the drawing goes.
//
// When two live records name the same handle, the lookup walks the dictionary as the slow road
// would and gives the first in dictionary order.
#pragma once

#include <span>
#include <string>

#include "cad/arx.h"
#include "records/figure_kinds.h"
#include "records/figure_records.h"

namespace area {

enum class NamedRole { kMark, kValueText };

// The record of `kind`'s dictionary that names `handle` in `role`, opened in `mode` (the caller
// closes it), with its key when asked; null when there is none. `database` null means the
// working drawing.
FigureRecord* FindRecordNaming(const FigureKindInfo& kind, const AcDbHandle& handle, NamedRole role,
                               AcDb::OpenMode mode, std::string* key = nullptr,
                               AcDbDatabase* database = nullptr);

// Reports that the record now names these handles (the mark first). Records call it whenever
// their handles change; nothing happens while the record's drawing has no index yet.
void NoteRecordHandles(AcDbObjectId recordId, std::span<const AcDbHandle> handles);

// Drops every index and its drawing watcher; for application unload.
void DropRecordIndexes();

// How many candidates the drawing's index holds (0 when it has none); for tests.
std::size_t RecordIndexSize(const AcDbDatabase* database);

}  // namespace area
