// The six figure kinds and every fact that names a kind in the drawing: the shape code written
// into the mark, the extended-data application name that tags its entities, the dictionary of its
// records, the record class, the linkage's event base, and which record handles are value texts.
// The figure commands, the linkage and the maintenance functions all read this one table.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "records/class_table.h"

namespace area {

// Linkage event codes are a kind's base plus the role of the changed entity.
inline constexpr int kEventRoleOutline = 1;
inline constexpr int kEventRoleValueText = 2;
inline constexpr int kEventRoleMark = 3;

// Value texts of a kind are at most this many of its record's shape handles.
inline constexpr int kMaxValueTexts = 3;

struct FigureKindInfo {
  short shapeCode;          // the mark's KT, selecting the schedule formula
  int eventBase;            // 0, 10, ... 50
  const char* application;  // extended-data application name, "AREA_" + shape
  const char* dictionary;   // "DICT_" + shape
  RecordClassIndex recordClass;
  int valueTextCount;
  std::array<int, kMaxValueTexts> valueTextSlots;  // shape-handle indices of the value texts

  std::span<const int> valueTexts() const {
    return std::span<const int>(valueTextSlots.data(), static_cast<std::size_t>(valueTextCount));
  }
  int eventCode(int role) const { return eventBase + role; }
};

// The kinds in shape-code order, which is also the order in which the linkage checks and
// dispatches them: triangle, rectangle, trapezoid, sector, circle, lune.
extern const std::array<FigureKindInfo, 6> kFigureKinds;

const FigureKindInfo& TriangleKindInfo();
const FigureKindInfo& RectangleKindInfo();
const FigureKindInfo& TrapezoidKindInfo();
const FigureKindInfo& SectorKindInfo();
const FigureKindInfo& CircleKindInfo();
const FigureKindInfo& LuneKindInfo();

// Null when no kind has that shape code or dictionary name.
const FigureKindInfo* KindByShapeCode(int shapeCode);
const FigureKindInfo* KindByDictionary(std::string_view dictionary);
// The kind whose event codes include `code` (base + 1 to 3); null for 0 and unknown codes.
const FigureKindInfo* KindByEventCode(int code);

}  // namespace area
