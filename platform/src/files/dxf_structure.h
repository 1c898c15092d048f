// The structure of a DXF file over its tags: sections, and the records in them (a record is a
// "0" tag and the tags up to the next one).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cad/db_object.h"
#include "files/dxf_tags.h"

namespace tessera::files {

struct DxfRecord {
  const DxfTag* begin = nullptr;  // the "0" tag
  const DxfTag* end = nullptr;
  std::string_view name() const { return begin->value; }
  int line() const { return begin->line; }
  // The tags after the "0" tag.
  const DxfTag* data() const { return begin + 1; }
  // The first tag of the record with the code before its first subclass marker, or null: the
  // record's own handle (5, or 105 for dimension styles) and owner (330) come there.
  const DxfTag* leading(int code) const;
  // The first tag with the code anywhere in the record, or null.
  const DxfTag* find(int code) const;
  // Every tag after the "0" tag, without the one at `skip` (null: none).
  RawTags raw(const DxfTag* skip = nullptr) const;
};

struct DxfSection {
  std::string name;
  int line = 0;
  const DxfTag* begin = nullptr;  // after the section's name
  const DxfTag* end = nullptr;    // its ENDSEC
  std::vector<DxfRecord> records;
};

// Splits the tags into sections; a section without ENDSEC or a file without EOF is refused.
std::optional<DxfProblem> SplitDxfSections(const std::vector<DxfTag>& tags,
                                           std::vector<DxfSection>& sections);

// The record's own handle: null when it has none; a problem when it is not a handle.
std::optional<DxfProblem> RecordHandle(const DxfRecord& record, AcDbHandle& handle);
// Why a part of a DXF file the drawing keeps as read (drawing->preservedDxf, by its key) would
// not be read back once written to DXF again: a record with no "0" tag first, one named to end
// its section or table early, or an own handle that is none. The DXF reader took the part, so a
// drawing it read never has such a part. The handles its records are written back with are
// added to `handles`.
std::optional<std::string> KeptDxfPartProblem(const std::string& key,
                                              const std::vector<RawTags>& records,
                                              std::vector<std::uint64_t>& handles);

// Each record's own handle in file order, by the record's "0" tag.
using DxfHandles = std::vector<std::pair<const DxfTag*, AcDbHandle>>;

// The handles of every record outside HEADER and CLASSES. A handle that is not one, or is used
// already, is a problem; with `wrong`, its tag is added there and a repair instead.
std::optional<DxfProblem> CollectDxfHandles(const std::vector<DxfSection>& sections,
                                            DxfHandles& handles,
                                            std::vector<const DxfTag*>* wrong = nullptr,
                                            DxfRepairs* repairs = nullptr);

}  // namespace tessera::files
