// The one declaration of each figure record kind's fields. The binary and DXF filings and the
// record dump all walk these tables, so a field's order, group code and dump line live together.
#pragma once

#include <span>

namespace area {

// DXF group codes of figure records.
inline constexpr int kDxfRecordHandle = 5;  // the mark and every shape handle
inline constexpr int kDxfUnitKind = 70;
inline constexpr int kDxfDigits = 71;
inline constexpr int kDxfRounding = 72;
inline constexpr int kDxfFirstRowCount = 73;   // triangle rows of a triangle, else table rows
inline constexpr int kDxfSecondRowCount = 74;  // table rows of a triangle
inline constexpr int kDxfRowHandle = 300;      // every handle of every row

enum class FieldKind { kHandle, kSetting, kRowCount };

// Slots of the three settings.
enum SettingSlot { kUnitKindSlot, kDigitsSlot, kRoundingSlot, kSettingCount };
// Slots of the two row lists.
enum RowListSlot { kTriangleRowsSlot, kTableRowsSlot };
// Handle slot 0 is the mark; the shape handles follow from 1 in table order.
inline constexpr int kMarkHandleSlot = 0;
// The lune's mark and eight shape handles are the most a record holds.
inline constexpr int kMaxRecordHandles = 9;

struct RecordField {
  FieldKind kind;
  int dxfCode;
  int slot;              // handle slot, SettingSlot or RowListSlot by kind
  const char* dumpLine;  // the record dump's line, with "%s" or "%d"; null for row counts
};

struct RecordLayout {
  const char* className;  // also the DXF subclass marker
  const char* dxfName;
  const char* dumpTitle;
  std::span<const RecordField> fields;  // in filing order
  std::span<const int> dumpOrder;       // indices into fields, in the order the dump prints
  int shapeHandleCount;                 // handles after the mark
  bool hasTriangleRows;
};

}  // namespace area
