// The common flow of the modify handlers.
#include "linkage/figure_linkage.h"

#include <memory>

#include "common/geometry.h"
#include "common/handles.h"
#include "common/marks.h"
#include "common/text_values.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "linkage/area_react.h"
#include "linkage/reshape.h"
#include "linkage/schedule_rows.h"
#include "records/figure_dictionaries.h"
#include "records/record_index.h"

namespace area {
namespace {

int RoleOf(const FigureKindInfo& kind, int code) {
  return code - kind.eventBase;
}

FigureRecord* FindRecord(const FigureKindInfo& kind, const AcDbHandle& handle, int role) {
  switch (role) {
    case kEventRoleOutline:
      return FindRecordByKey(kind.dictionary, HandleText(handle).c_str(), AcDb::kForRead);
    case kEventRoleValueText:
      return FindRecordNaming(kind, handle, NamedRole::kValueText, AcDb::kForRead);
    default:
      return FindRecordNaming(kind, handle, NamedRole::kMark, AcDb::kForRead);
  }
}

// The mark changed: every schedule row that lists the figure follows it.
void RefreshRows(const FigureKindInfo& kind, LinkedRecord& record) {
  MarkContents mark;
  if (!ReadMark(record.values.mark, mark)) return;
  const ValueRules& rules = record.values.rules;
  if (!record.triangleRows.empty()) {
    const std::vector<std::string> values = SplitValueList(mark.valueList);
    if (values.size() < 3) return;
    for (const AreaDic_STable::Row& row : record.triangleRows)
      RefreshTriTableRow(row, mark.label, values, mark.negative, rules.digits, rules.rounding);
  }
  for (const AreaDic_Table::Row& row : record.tableRows)
    RefreshTableRow(kind.shapeCode, row, mark.label, mark.valueList, mark.negative, rules.digits,
                    rules.rounding);
}

void Dispatch(const ShapeLinkage& shape, const AcDbHandle& handle, int code,
              const AcGePoint3dArray& snapshot) {
  const int role = RoleOf(shape.kind, code);
  FigureRecord* record = FindRecord(shape.kind, handle, role);
  if (record == nullptr) return;
  LinkedRecord values = ReadLinkedRecord(*record);
  record->close();
  AcDbHandle changed = handle;
  AcDbObjectId changedId;
  if (!HandleToId(changed, changedId)) return;
  if (role == kEventRoleOutline) {
    if (g_nStretch == 1) shape.modifyData(values.values, changedId, snapshot);
  } else if (role == kEventRoleValueText) {
    shape.modifyValue(values.values, g_nStretch == 1);
  } else {
    RefreshRows(shape.kind, values);
  }
}

// Length of the helper segment that stands for a line through a point in a direction (drawing
// units); any length works, this one keeps the intersection well conditioned for drawn figures.
constexpr double kDirectionHelperLength = 100.0;

}  // namespace

std::optional<AcGePoint3d> MeetAlong(const AcGePoint3d& through, double angle, const AcGePoint3d& p,
                                     const AcGePoint3d& q) {
  return LineIntersection(through, PolarPoint(through, angle, kDirectionHelperLength), p, q, false);
}

const ShapeLinkage& LinkageOf(const FigureKindInfo& kind) {
  switch (kind.shapeCode) {
    case kShapeTriangle:
      return TriangleLinkage();
    case kShapeRectangle:
      return RectangleLinkage();
    case kShapeTrapezoid:
      return TrapezoidLinkage();
    case kShapeSector:
      return SectorLinkage();
    case kShapeCircle:
      return CircleLinkage();
    default:
      return LuneLinkage();
  }
}

void ReactModify(const ShapeLinkage& shape, const AcDbHandle& handle, int& flag,
                 const AcGePoint3dArray& snapshot) {
  if (KindByEventCode(flag) != &shape.kind) return;
  const int code = flag;
  const AcDbHandle changed = handle;  // nested events overwrite both
  const AcGePoint3dArray outline = snapshot;
  Dispatch(shape, changed, code, outline);
  flag = 0;
}

RecordValues ReadRecordValues(const FigureRecord& record) {
  RecordValues values;
  record.markHandle(values.mark);
  for (int i = 0; i < record.shapeHandleCount(); ++i) record.shapeHandle(i, values.shape[i]);
  Adesk::Int16 unitKind = 0, digits = 0, rounding = 0;
  record.unitKind(unitKind);
  record.digits(digits);
  record.rounding(rounding);
  values.rules = {unitKind, digits, rounding};
  return values;
}

LinkedRecord ReadLinkedRecord(const FigureRecord& record) {
  LinkedRecord snapshot;
  snapshot.values = ReadRecordValues(record);
  Adesk::Int16 rows = 0;
  record.tableRowCount(rows);
  for (int i = 0; i < rows; ++i)
    if (AreaDic_Table::Row row{}; record.tableRowAt(i, row) == Acad::eOk)
      snapshot.tableRows.push_back(row);
  if (const auto* triangle = dynamic_cast<const AreaDic_Triangle*>(&record)) {
    triangle->triangleRowCount(rows);
    for (int i = 0; i < rows; ++i)
      if (AreaDic_STable::Row row{}; triangle->triangleRowAt(i, row) == Acad::eOk)
        snapshot.triangleRows.push_back(row);
  }
  return snapshot;
}

std::optional<std::vector<std::string>> ReadValueTexts(RecordValues& values,
                                                       std::initializer_list<int> slots) {
  std::vector<std::string> texts;
  for (int slot : slots) {
    std::optional<std::string> text = ReadTextByHandle(values.shape[slot]);
    if (!text) return std::nullopt;
    texts.push_back(std::move(*text));
  }
  return texts;
}

AcDbObjectId OutlineOfMark(const FigureKindInfo& kind, const RecordValues& values) {
  std::string key;
  FigureRecord* record =
      FindRecordNaming(kind, values.mark, NamedRole::kMark, AcDb::kForRead, &key);
  if (record == nullptr) return {};
  record->close();
  AcDbHandle outline(key.c_str());
  AcDbObjectId id;
  HandleToId(outline, id);
  return id;
}

void MoveMark(const ShapeLinkage& shape, RecordValues& values, bool stretch) {
  if (values.mark.isNull()) return;
  const std::optional<PlannedMark> mark =
      shape.plannedMark(values, OutlineOfMark(shape.kind, values));
  if (mark) UpdateMark(values.mark, mark->point, mark->valueList, stretch);
}

std::string ValueText(const ValueRules& rules, double value) {
  return FormatValue(rules.digits, value);
}

bool SetLine(AcDbHandle& handle, const PlannedLine& planned) {
  AcDbObjectId id;
  AcDbLine* line = nullptr;
  if (!HandleToId(handle, id) || acdbOpenObject(line, id, AcDb::kForWrite) != Acad::eOk)
    return false;
  line->setStartPoint(planned.start);
  line->setEndPoint(planned.end);
  line->close();
  return true;
}

bool SetArc(AcDbHandle& handle, const ArcGeometry& planned) {
  AcDbObjectId id;
  AcDbArc* arc = nullptr;
  if (!HandleToId(handle, id) || acdbOpenObject(arc, id, AcDb::kForWrite) != Acad::eOk)
    return false;
  arc->setCenter(planned.centre);
  arc->setRadius(planned.radius);
  arc->setStartAngle(planned.startAngle);
  arc->setEndAngle(planned.endAngle);
  arc->close();
  return true;
}

bool SetValueText(AcDbHandle& handle, const PlannedText& planned, double textSize) {
  AcDbObjectId id;
  AcDbText* text = nullptr;
  if (!HandleToId(handle, id) || acdbOpenObject(text, id, AcDb::kForWrite) != Acad::eOk)
    return false;
  text->setPosition(planned.placement.position);
  text->setAlignmentPoint(planned.placement.position);
  text->setRotation(planned.placement.rotation);
  text->setHeight(textSize);
  text->setTextString(planned.text.c_str());
  text->close();
  return true;
}

bool OutlineCorners(AcDbObjectId outlineId, int count, AcGePoint3dArray& corners) {
  return PolylineVertices2d(outlineId, corners) && corners.length() >= count;
}

bool ReshapeOutline(AcDbObjectId outlineId, const AcGePoint3dArray& snapshot,
                    ReshapeFunction reshape, ReshapeResult refusal, const char* message,
                    AcGePoint3dArray& corners) {
  AcGePoint3dArray current;
  if (!PolylineVertices2d(outlineId, current)) return false;
  const Reshape reshaped = reshape(snapshot, current);
  if (reshaped.result == refusal) acedAlert(message);
  if (reshaped.result != ReshapeResult::kReshaped) return false;
  if (!SetFirstVertices(outlineId, reshaped.corners)) return false;
  corners = reshaped.corners;
  return true;
}

}  // namespace area
