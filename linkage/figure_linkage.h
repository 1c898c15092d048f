// The common flow of the six shapes' modify handlers: find the figure record of a changed
// entity by its role (outline by key, value text or mark by the record index), read the record,
// and hand the change to the shape's recomputation or to its schedule rows. Each shape file
// supplies a ShapeLinkage and its React_Modify function.
//
// Handlers run inside the database reactor's notifications, and their own edits come back as
// nested notifications: a handler copies the event code and handle at entry and clears the code
// on every exit once it has acted, so the handlers after it in the same dispatch find nothing.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "figures/measures.h"
#include "figures/plans.h"
#include "records/figure_kinds.h"
#include "records/figure_records.h"
#include "records/record_layout.h"

namespace area {

// Plans made only for their strings need no text size.
inline constexpr double kNoTextSize = 0.0;

// What the recomputations are given from the record: the mark handle, the shape handles in
// table order, and the value rules.
struct RecordValues {
  AcDbHandle mark;
  std::array<AcDbHandle, kMaxRecordHandles - 1> shape{};
  ValueRules rules;
};

// The record's values and the rows of the schedules that list it, read while it is open.
struct LinkedRecord {
  RecordValues values;
  std::vector<AreaDic_Table::Row> tableRows;
  std::vector<AreaDic_STable::Row> triangleRows;  // triangle records only
};
LinkedRecord ReadLinkedRecord(const FigureRecord& record);
// The values alone, for readers that do not touch the rows.
RecordValues ReadRecordValues(const FigureRecord& record);

// Where the mark stands and the value list it carries, planned from the value texts as they stand
// and from the outline.
struct PlannedMark {
  AcGePoint3d point;
  std::string valueList;
};

struct ShapeLinkage {
  const FigureKindInfo& kind;
  // The outline was stretched: rebuild the auxiliary entities and rewrite the value texts. The
  // snapshot holds the outline's vertices from before the stretch (four-sided shapes only).
  void (*modifyData)(RecordValues& values, AcDbObjectId outlineId,
                     const AcGePoint3dArray& snapshot);
  // A value text changed: rewrite the mark's value list, moving the mark during a stretch.
  void (*modifyValue)(RecordValues& values, bool stretch);
  // The mark the value texts and the outline call for; nothing when a value text is missing or
  // the outline gives no measure.
  std::optional<PlannedMark> (*plannedMark)(RecordValues& values, AcDbObjectId outlineId);
  // The value texts' strings measured afresh from the outline under the rules, in the order of
  // the kind's value-text slots; nothing when the outline gives no measure.
  std::optional<std::vector<std::string>> (*freshValueTexts)(const ValueRules& rules,
                                                             AcDbObjectId outlineId);
  // Shape-handle slots of the auxiliary lines and arcs, which share the outline's layer.
  std::span<const int> auxiliarySlots;
};

// The linkage of each kind.
const ShapeLinkage& LinkageOf(const FigureKindInfo& kind);
const ShapeLinkage& TriangleLinkage();
const ShapeLinkage& RectangleLinkage();
const ShapeLinkage& TrapezoidLinkage();
const ShapeLinkage& CircleLinkage();
const ShapeLinkage& SectorLinkage();
const ShapeLinkage& LuneLinkage();

// The common handler: acts on the shape's three event codes only, and clears `flag` after.
void ReactModify(const ShapeLinkage& shape, const AcDbHandle& handle, int& flag,
                 const AcGePoint3dArray& snapshot);

// The six handlers, in dispatch order.
void React_ModifyTriangle(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot);
void React_ModifyRectangle(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot);
void React_ModifyTrapezoid(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot);
void React_ModifySector(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot);
void React_ModifyCircle(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot);
void React_ModifyLune(const AcDbHandle& handle, int& flag, const AcGePoint3dArray& snapshot);

// Helpers of the recomputations.

// The shape's modifyValue: writes the planned mark of the figure whose mark is values.mark,
// moving the mark only when `stretch`.
void MoveMark(const ShapeLinkage& shape, RecordValues& values, bool stretch);

// The strings of the value texts in the given shape-handle slots; nothing when one is missing.
std::optional<std::vector<std::string>> ReadValueTexts(RecordValues& values,
                                                       std::initializer_list<int> slots);
// The outline of the figure whose mark is values.mark: the key of the record that names the mark
// is the outline's handle. The null id when the record or the outline cannot be had.
AcDbObjectId OutlineOfMark(const FigureKindInfo& kind, const RecordValues& values);
// A number text as the figure writes it, from an already rounded value.
std::string ValueText(const ValueRules& rules, double value);

// Entities rewritten by the recomputations, each opened for write and skipped (false) when its
// handle does not resolve or it does not open as that kind.
bool SetLine(AcDbHandle& handle, const PlannedLine& line);
bool SetArc(AcDbHandle& handle, const ArcGeometry& arc);
// A value text at its planned placement and string, with the height TEXTSIZE.
bool SetValueText(AcDbHandle& handle, const PlannedText& text, double textSize);

// The first `count` vertices of a figure's outline polyline; false when it cannot be read, two
// vertices coincide, or a user's edit left it fewer than `count`.
bool OutlineCorners(AcDbObjectId outlineId, int count, AcGePoint3dArray& corners);

}  // namespace area
