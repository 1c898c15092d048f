// Linkage at scale: one grip drag of a triangle figure's corner with everything that follows it
// (the height line, the base and height texts, the mark's value list and place, the figure's row
// in a general-form schedule and the schedule's total), in drawings of 100 and of 100 000 triangle
// figures that one schedule lists. The plug-in is started and told of each drawing as the program
// does it, and the drag is the host's GRIP_STRETCH command run from script lines, so the reactors
// hear what they hear of a user's drag. The cost of one drag must not grow with the drawing: the
// 100 000-figure time may be at most 1.5 times the 100-figure time.
//
// Each size is timed on its own, one after the other, and then both by turns in one run: on a
// shared machine the times of separate runs wander by more than the goal allows, while drags taken
// by turns see the same machine, the same process and the same heap, so that their ratio shows
// what the drawing's size alone costs. The run's last line gives the times of both ways and the
// ratios; the goal is judged on the one by turns.
//
// The first figure of each drawing is drawn by the triangle function and the schedule by the
// schedule function, both from script lines. The other figures are made in bulk by the triangle's
// own drawing step, with the mark made as INSERT makes it and the rest of the figure finished as
// the function finishes it: inserting a mark by command finds the new reference by walking the
// whole model space, which no bulk build can afford. Before anything is timed, a bulk figure is
// compared with the drawn one, and a drag out and back is checked to reach the texts, the mark and
// the row, and after the timed drags the schedule's total must show the sum of them all. The whole
// run takes about 20 seconds and 1.5 GB on a small machine.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "common/figure_entities.h"
#include "common/geometry.h"
#include "common/handles.h"
#include "common/layers.h"
#include "common/marks.h"
#include "common/messages.h"
#include "common/settings.h"
#include "common/value_list.h"
#include "db/database_impl.h"
#include "figures/plans.h"
#include "figures/shapes.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/script.h"
#include "platform/transcript.h"
#include "plugin_run.h"
#include "records/figure_dictionaries.h"
#include "records/figure_kinds.h"
#include "records/mark_reactor.h"

namespace {

constexpr int kHundred = 100;
constexpr int kHundredThousand = 100'000;
constexpr double kGoalRatio = 1.5;

// Metres with two decimals, rounded half up; marks of size 2.5 at scale 1 on the template's layers.
constexpr const char* kFigureSettings = "AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0";
// General form in selection order: sorting 100 000 rows is not what is measured.
constexpr const char* kTableSettings = "0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|0|0";
constexpr const char* kTextSizeLine = "(setvar \"TEXTSIZE\" 2.5)\n";
constexpr const char* kScriptName = "linkage_bench.scr";

// Each figure has a cell of the grid; its apex is the cell's corner. Drawing units are
// millimetres: the base runs from (-1000,-2000) to (3000,-2000) of the apex, so the triangle
// shows base 4.00, height 2.00 and area 4.00.
constexpr double kCellSize = 10000.0;
constexpr int kCellsPerRow = 400;
const AcGeVector3d kBaseStart(-1000.0, -2000.0, 0.0);
const AcGeVector3d kBaseEnd(3000.0, -2000.0, 0.0);
// A drag takes the base's end here (base 6.00, area 6.00); the figure's next drag takes it back.
const AcGeVector3d kDraggedBaseEnd(5000.0, -2000.0, 0.0);
// The schedule hangs below this point, left of the figures.
const AcGePoint3d kScheduleCorner(-30000.0, 0.0, 0.0);

// Drags step through the figures by a stride prime to their number, so that successive drags
// touch figures far apart, as a user's edits across a big drawing would.
constexpr std::size_t kDragStride = 7919;
// The undo log keeps every drag; it is emptied this often so that memory stays flat.
constexpr std::int64_t kDragsPerUndoClear = 1 << 10;
// Coordinates of two figures made alike agree to this many decimals (drawing units).
constexpr int kSignatureDecimals = 4;

// What a figure shows and what its schedule row shows.
struct Shown {
  std::string base;
  std::string valueList;
  std::string formula;
  std::string area;
};
const Shown kAsDrawn = {"4.00", "( 4.00 2.00 8.00 4.00 )", "4.00x2.00x0.5", "4.00"};
const Shown kDragged = {"6.00", "( 6.00 2.00 12.00 6.00 )", "6.00x2.00x0.5", "6.00"};
constexpr double kAreaAsDrawn = 4.0;
constexpr double kAreaDragged = 6.0;

// The transcript is kept while a drawing is built and checked, for the failure messages, and
// thrown away while drags are timed.
class DiscardBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c == traits_type::eof() ? 0 : c; }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::ostringstream& KeptTranscript() {
  static std::ostringstream kept;
  return kept;
}

std::ostream& DiscardedTranscript() {
  static DiscardBuffer buffer;
  static std::ostream discarded(&buffer);
  return discarded;
}

std::string PointText(const AcGePoint3d& point) {
  return area::StringPrintf("%.0f,%.0f", point.x, point.y);
}

AcGePoint3d ApexOf(int figure) {
  return {(figure % kCellsPerRow) * kCellSize, (figure / kCellsPerRow) * kCellSize, 0.0};
}

AcGePoint3dArray CornersOf(int figure) {
  const AcGePoint3d apex = ApexOf(figure);
  AcGePoint3dArray corners;
  for (const AcGePoint3d& corner : {apex, apex + kBaseStart, apex + kBaseEnd})
    corners.append(corner);
  return corners;
}

std::string LabelOf(int figure) {
  return std::to_string(figure + 1);
}

bool RunLines(const std::string& lines, std::string& why) {
  const tessera::ScriptOutcome outcome = tessera::RunScriptText(lines, kScriptName);
  if (outcome.status == 0) return true;
  why = outcome.message;
  return false;
}

// Handles and ids.

AcDbObjectId IdOf(const AcDbHandle& handle) {
  AcDbObjectId id;
  area::ResolveHandle(handle, id);
  return id;
}

AcDbObjectId IdOf(const std::string& handleText) {
  return IdOf(AcDbHandle(handleText.c_str()));
}

template <typename T>
T* OpenForRead(AcDbObjectId id) {
  T* object = nullptr;
  if (id.isNull() || acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk) return nullptr;
  return object;
}

std::optional<std::string> TextAt(const AcDbHandle& handle) {
  AcDbText* text = OpenForRead<AcDbText>(IdOf(handle));
  if (text == nullptr) return std::nullopt;
  std::string string = text->textString();
  text->close();
  return string;
}

// Marks as INSERT makes them.

struct AttributeTemplate {
  AcDbObjectId definition;
  std::string tag;
  std::string defaultText;
  bool constant = false;
};

struct MarkBlock {
  AcDbObjectId id;
  AcGePoint3d origin;
  std::vector<AttributeTemplate> attributes;
};

std::optional<MarkBlock> FindMarkBlock(AcDbDatabase* database, const std::string& name) {
  AcDbBlockTable* table = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return std::nullopt;
  MarkBlock block;
  table->getAt(name.c_str(), block.id);
  table->close();
  auto* record = OpenForRead<AcDbBlockTableRecord>(block.id);
  if (record == nullptr) return std::nullopt;
  block.origin = record->origin();
  for (const AcDbObjectId& id : record->entityIds()) {
    auto* definition = OpenForRead<AcDbAttributeDefinition>(id);
    if (definition == nullptr) continue;
    if (!id.isErased())
      block.attributes.push_back(
          {id, definition->tag(), definition->textString(), definition->isConstant()});
    definition->close();
  }
  record->close();
  return block;
}

// The answers the triangle function gives the mark's attribute prompts, by tag.
std::map<std::string, std::string> MarkAnswersOf(const std::string& label,
                                                 const std::string& valueList) {
  const bool isShort = label.size() <= area::kShortLabelLimit;  // the labels are ASCII digits
  return {{area::kLabelShortTag, isShort ? label : ""},
          {area::kLabelLongTag, isShort ? "" : label},
          {area::kShapeCodeTag, std::to_string(area::TriangleKindInfo().shapeCode)},
          {area::kValueListTag, valueList},
          {area::kSignTag, area::kPositiveSign}};
}

// The point as INSERT has it from the figure function's "%lf,%lf" answer.
AcGePoint3d AsAnswered(const AcGePoint3d& point) {
  return {std::strtod(area::StringPrintf("%lf", point.x).c_str(), nullptr),
          std::strtod(area::StringPrintf("%lf", point.y).c_str(), nullptr), 0.0};
}

AcDbObjectId InsertMarkReference(AcDbDatabase* database, const MarkBlock& block,
                                 const AcGePoint3d& worldPoint, double scale,
                                 const std::map<std::string, std::string>& answers) {
  const AcGePoint3d position = AsAnswered(worldPoint);
  const AcGeScale3d scales(scale, scale, scale);
  auto* reference = new AcDbBlockReference(position, block.id);
  reference->setScaleFactors(scales);
  reference->setRotation(0.0);
  AcDbBlockTable* table = nullptr;
  AcDbBlockTableRecord* space = nullptr;
  if (database->getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
  }
  AcDbObjectId id;
  reference->setDatabaseDefaults(database);
  if (space == nullptr || space->appendAcDbEntity(id, reference) != Acad::eOk) {
    if (space != nullptr) space->close();
    delete reference;
    return {};
  }
  space->close();
  for (const AttributeTemplate& attribute : block.attributes) {
    if (attribute.constant) continue;
    auto* definition = OpenForRead<AcDbAttributeDefinition>(attribute.definition);
    if (definition == nullptr) continue;
    auto answer = answers.find(attribute.tag);
    // An empty answer takes the definition's default, as at the prompt.
    const std::string value =
        answer == answers.end() || answer->second.empty() ? attribute.defaultText : answer->second;
    auto* made = new AcDbAttribute;
    made->setAttributeFromBlock(definition, position, scales, 0.0, block.origin);
    definition->close();
    made->setTextString(value.c_str());
    made->setLayer(reference->layer().c_str());
    if (reference->appendAttribute(made) == Acad::eOk) {
      made->close();
    } else {
      delete made;
    }
  }
  reference->close();
  return id;
}

// One figure as the triangle function makes it, without the prompts: the shape's drawing step,
// the mark, then what the function's finish does (layer, tag, group, reactor, record). Gives the
// record's key, the outline's handle text; empty when something was refused.
std::string AddBulkFigure(AcDbDatabase* database, const area::FigureSettings& settings,
                          const MarkBlock& block, int figure) {
  const area::FigureShape& shape = area::TriangleShape();
  AcGePoint3dArray points = CornersOf(figure);
  AcDbObjectIdArray ids;
  std::unique_ptr<area::FigureRecord> record(shape.newRecord());
  area::DrawnFigure drawn;
  if (!shape.draw(settings, points, ids, *record, drawn)) return {};
  const std::string valueList =
      area::ComposeValueList(drawn.valueTexts, shape.areaFromTexts(settings, drawn));
  const AcDbObjectId markId =
      InsertMarkReference(database, block, drawn.markPoint, area::MarkInsertScale(settings),
                          MarkAnswersOf(LabelOf(figure), valueList));
  if (markId.isNull()) return {};
  record->setMarkHandle(markId.handle());
  area::SetEntityLayer(markId, settings.markLayer);
  ids.append(markId);
  area::TagEntity(markId, area::TriangleKindInfo().application, area::kRoleMark);
  area::MakeGroup(ids);
  if (AcDbObject* mark = OpenForRead<AcDbObject>(markId)) {
    area::AttachMarkReactor(mark);
    mark->close();
  }
  const std::string key = area::HandleText(ids.first());
  if (!area::StoreFigureRecord(area::TriangleKindInfo().dictionary, key.c_str(), record.get()))
    return {};
  record.release();  // the dictionary's now
  return key;
}

// A figure's description.

std::string Relative(const AcGePoint3d& point, const AcGePoint3d& apex) {
  return area::StringPrintf("(%.*f,%.*f,%.*f)", kSignatureDecimals, point.x - apex.x,
                            kSignatureDecimals, point.y - apex.y, kSignatureDecimals,
                            point.z - apex.z);
}

void DescribeText(std::ostream& out, const AcDbText* text, const AcGePoint3d& apex,
                  const std::string& label) {
  const std::string string = text->textString();
  out << " text \"" << (string == label && !label.empty() ? "#" : string) << "\" at "
      << Relative(text->position(), apex) << " aligned " << Relative(text->alignmentPoint(), apex)
      << area::StringPrintf(" height %.4f rotation %.6f modes %d %d layer ", text->height(),
                            text->rotation(), static_cast<int>(text->horizontalMode()),
                            static_cast<int>(text->verticalMode()))
      << text->layer();
}

void DescribeEntity(std::ostream& out, AcDbObjectId id, const AcGePoint3d& apex,
                    const std::string& label) {
  auto* entity = OpenForRead<AcDbEntity>(id);
  if (entity == nullptr) {
    out << "missing\n";
    return;
  }
  out << entity->isA()->name() << " layer " << entity->layer() << " colour " << entity->colorIndex()
      << " role " << area::FigureRole(entity, area::kTriangleApp);
  if (const auto* polyline = AcDb2dPolyline::cast(entity)) {
    AcGePoint3dArray vertices;
    area::PolylineVertices2d(polyline, vertices);
    out << (polyline->isClosed() ? " closed" : " open");
    for (const AcGePoint3d& vertex : vertices) out << " " << Relative(vertex, apex);
  } else if (const auto* line = AcDbLine::cast(entity)) {
    out << " " << Relative(line->startPoint(), apex) << " " << Relative(line->endPoint(), apex);
  } else if (const auto* text = AcDbText::cast(entity)) {
    DescribeText(out, text, apex, {});
  } else if (auto* reference = AcDbBlockReference::cast(entity)) {
    const AcGeScale3d scale = reference->scaleFactors();
    out << " block " << reference->blockName() << " at " << Relative(reference->position(), apex)
        << area::StringPrintf(" scale %.4f %.4f %.4f rotation %.6f", scale.sx, scale.sy, scale.sz,
                              reference->rotation())
        << " reactor " << area::HasMarkReactor(reference);
    for (const AcDbObjectId& attributeId : reference->attributeIds()) {
      AcDbAttribute* attribute = nullptr;
      if (reference->openAttribute(attribute, attributeId, AcDb::kForRead) != Acad::eOk) continue;
      const std::string tag = attribute->tag();
      const bool labelled = tag == area::kLabelShortTag || tag == area::kLabelLongTag;
      out << "\n  " << tag;
      DescribeText(out, attribute, apex, labelled ? label : std::string());
      attribute->close();
    }
  }
  out << "\n";
  entity->close();
}

// The figure's record, its group's entities in order and which of them the record names, with
// coordinates from the apex and the label written "#": two figures made alike read the same.
std::string Describe(int figure, const std::string& key) {
  std::ostringstream out;
  const AcGePoint3d apex = ApexOf(figure);
  area::FigureRecord* record =
      area::FindRecordByKey(area::TriangleKindInfo().dictionary, key.c_str(), AcDb::kForRead);
  if (record == nullptr) return "no record";
  std::vector<AcDbHandle> named(1 + record->shapeHandleCount());
  record->markHandle(named[0]);
  for (int i = 0; i < record->shapeHandleCount(); ++i) record->shapeHandle(i, named[1 + i]);
  Adesk::Int16 unitKind = 0, digits = 0, rounding = 0, rows = 0;
  record->unitKind(unitKind);
  record->digits(digits);
  record->rounding(rounding);
  record->tableRowCount(rows);
  out << record->isA()->name() << " settings " << unitKind << " " << digits << " " << rounding
      << " rows " << rows << "\n";
  record->close();
  std::vector<AcDbObjectId> members;
  if (auto* outline = OpenForRead<AcDbEntity>(IdOf(key))) {
    for (const AcDbObjectId& follower : outline->persistentReactors())
      if (auto* group = OpenForRead<AcDbGroup>(follower)) {
        members = group->memberIds();
        group->close();
      }
    outline->close();
  }
  for (const AcDbObjectId& member : members) {
    out << (area::HandleText(member) == key ? "key," : "") << "named as";
    for (std::size_t i = 0; i < named.size(); ++i)
      if (named[i] == member.handle()) out << " " << i;
    out << ": ";
    DescribeEntity(out, member, apex, LabelOf(figure));
  }
  return out.str();
}

// What the figure and its row show now; empty fields where something does not read.
struct FigureView {
  Shown shown;
  std::string total;
  AcGePoint3d markPosition;
};

FigureView ViewOf(const std::string& key) {
  FigureView view;
  area::FigureRecord* record =
      area::FindRecordByKey(area::TriangleKindInfo().dictionary, key.c_str(), AcDb::kForRead);
  if (record == nullptr) return view;
  AcDbHandle mark, base;
  record->markHandle(mark);
  record->shapeHandle(area::AreaDic_Triangle::kBaseText, base);
  area::AreaDic_Table::Row row{};
  Adesk::Int16 rows = 0;
  const bool hasRow = record->tableRowCount(rows) == Acad::eOk && rows == 1 &&
                      record->tableRowAt(0, row) == Acad::eOk;
  record->close();
  view.shown.base = TextAt(base).value_or("");
  if (hasRow) {
    view.shown.formula = TextAt(row[area::AreaDic_Table::kFormula]).value_or("");
    view.shown.area = TextAt(row[area::AreaDic_Table::kArea]).value_or("");
    view.total = TextAt(row[area::AreaDic_Table::kTotal]).value_or("");
  }
  auto* reference = OpenForRead<AcDbBlockReference>(IdOf(mark));
  if (reference == nullptr) return view;
  view.markPosition = reference->position();
  for (const AcDbObjectId& attributeId : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    if (reference->openAttribute(attribute, attributeId, AcDb::kForRead) != Acad::eOk) continue;
    if (attribute->tag() == area::kValueListTag) view.shown.valueList = attribute->textString();
    attribute->close();
  }
  reference->close();
  return view;
}

// A generated drawing, made once per size and kept open for every benchmark that uses it.
struct Drawing {
  int figures = 0;
  AcApDocument* document = nullptr;
  std::vector<std::string> outlines;  // handle texts, by figure
  std::vector<bool> dragged;          // whether the figure's base end is at kDraggedBaseEnd
  int draggedCount = 0;
  std::size_t nextDrag = 0;  // the figure the next timed drag takes
  std::int64_t drags = 0;    // timed drags since the drawing was made
  double buildSeconds = 0.0;
  std::string failure;  // why the drawing cannot be measured; empty when it can
};

// The drag of one figure's base end to its other place, as the host's grip drag.
bool Drag(Drawing& drawing, int figure, std::string& why) {
  const AcGePoint3d apex = ApexOf(figure);
  const bool out = !drawing.dragged[figure];
  const AcGePoint3d from = apex + (out ? kBaseEnd : kDraggedBaseEnd);
  const AcGePoint3d to = apex + (out ? kDraggedBaseEnd : kBaseEnd);
  const std::string lines = "GRIP_STRETCH\n(handent \"" + drawing.outlines[figure] + "\")\n\n" +
                            PointText(from) + "\n" + PointText(to) + "\n";
  if (!RunLines(lines, why)) return false;
  drawing.dragged[figure] = out;
  drawing.draggedCount += out ? 1 : -1;
  return true;
}

// What the schedule's total must show after the drags so far.
std::string ExpectedTotal(const Drawing& drawing) {
  return area::StringPrintf("%.2f", (drawing.figures - drawing.draggedCount) * kAreaAsDrawn +
                                        drawing.draggedCount * kAreaDragged);
}

bool SameShown(const Shown& a, const Shown& b) {
  return a.base == b.base && a.valueList == b.valueList && a.formula == b.formula &&
         a.area == b.area;
}

std::string Quoted(const Shown& shown, const std::string& total) {
  return "base \"" + shown.base + "\", value list \"" + shown.valueList + "\", row \"" +
         shown.formula + "\" \"" + shown.area + "\", total \"" + total + "\"";
}

// The figure shows `expected`, its mark sits at its centroid and the total is what the drags so
// far make it.
bool Shows(const Drawing& drawing, int figure, const Shown& expected, std::string& why) {
  const std::string total = ExpectedTotal(drawing);
  const FigureView view = ViewOf(drawing.outlines[figure]);
  const AcGePoint3d apex = ApexOf(figure);
  const AcGePoint3d end = apex + (drawing.dragged[figure] ? kDraggedBaseEnd : kBaseEnd);
  const AcGePoint3d centroid = area::TriangleCentroid(apex, apex + kBaseStart, end);
  // The command places the mark from a six-decimal answer; the linkage places it exactly.
  constexpr double kMarkTolerance = 1e-5;
  if (SameShown(view.shown, expected) && view.total == total &&
      view.markPosition.distanceTo(centroid) < kMarkTolerance)
    return true;
  why = "figure " + LabelOf(figure) + " shows " + Quoted(view.shown, view.total) +
        area::StringPrintf(" with its mark %.3f from its centroid",
                           view.markPosition.distanceTo(centroid)) +
        "; expected " + Quoted(expected, total);
  return false;
}

// A drag of the figure reaches its texts, its mark, its row and the total, and a second drag
// puts everything back.
bool CheckCascade(Drawing& drawing, int figure, std::string& why) {
  return Shows(drawing, figure, kAsDrawn, why) && Drag(drawing, figure, why) &&
         Shows(drawing, figure, kDragged, why) && Drag(drawing, figure, why) &&
         Shows(drawing, figure, kAsDrawn, why);
}

tessera::db::UndoLog& UndoOf(const Drawing& drawing) {
  return tessera::db::Impl(drawing.document->database())->undo();
}

// The key of the first record of the triangle dictionary; empty when there is none.
std::string FirstTriangleKey(AcDbDatabase* database) {
  AcDbDictionary* named = nullptr;
  if (database->getNamedObjectsDictionary(named, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObject* found = nullptr;
  std::string key;
  if (named->getAt(area::TriangleKindInfo().dictionary, found, AcDb::kForRead) == Acad::eOk) {
    if (const auto* triangles = AcDbDictionary::cast(found)) {
      std::unique_ptr<AcDbDictionaryIterator> entries(triangles->newIterator());
      if (!entries->done()) key = entries->name();
    }
    found->close();
  }
  named->close();
  return key;
}

std::string WithTranscript(const std::string& why) {
  return why + "\n" + KeptTranscript().str();
}

// Figure 0 by the triangle function, the others in bulk, then the schedule of all of them by the
// schedule function; then the checks.
bool Build(Drawing& drawing, std::string& why) {
  AcDbDatabase* database = drawing.document->database();
  std::string lines = kTextSizeLine + std::string("(area_triangle \"") + kFigureSettings + "\")\n";
  for (const AcGePoint3d& corner : CornersOf(0)) lines += PointText(corner) + "\n";
  // The offered label, RETURN to end, then the end of the undo group the function leaves open, as
  // a menu macro ends it: otherwise every later command would join that one undo step.
  lines += "\n\n(command \"UNDO\" \"E\")\n";
  if (!RunLines(lines, why)) return false;
  const std::string drawn = FirstTriangleKey(database);
  if (drawn.empty()) {
    why = WithTranscript("the triangle function drew no figure");
    return false;
  }
  drawing.outlines.push_back(drawn);

  std::optional<area::FigureSettings> settings = area::ParseFigureSettings(kFigureSettings);
  if (!settings) return false;
  area::CheckFigureLayers(*settings);
  const std::optional<MarkBlock> block = FindMarkBlock(database, settings->markBlock);
  if (!block) {
    why = "the drawing has no mark block " + settings->markBlock;
    return false;
  }
  // The bulk is no user's edit: nothing of it is kept for undo.
  UndoOf(drawing).setEnabled(false);
  for (int figure = 1; figure < drawing.figures; ++figure) {
    drawing.outlines.push_back(AddBulkFigure(database, *settings, *block, figure));
    if (drawing.outlines.back().empty()) {
      why = "figure " + LabelOf(figure) + " could not be made";
      break;
    }
  }
  UndoOf(drawing).setEnabled(true);
  if (!why.empty()) return false;
  drawing.dragged.assign(drawing.outlines.size(), false);

  if (drawing.figures > 1 && Describe(0, drawing.outlines[0]) != Describe(1, drawing.outlines[1])) {
    why = "a bulk figure differs from the drawn one:\n" + Describe(0, drawing.outlines[0]) +
          "--- against ---\n" + Describe(1, drawing.outlines[1]);
    return false;
  }
  lines = "(plot_tally \"" + std::string(kTableSettings) + "\")\nALL\n\n" +
          PointText(kScheduleCorner) + "\n";
  if (!RunLines(lines, why)) return false;
  if (UndoOf(drawing).groupOpen()) {
    why = "an undo group is still open after the schedule";
    return false;
  }
  UndoOf(drawing).clear();
  return true;
}

// Makes the drawing's document the current one, as switching drawings does.
void Activate(const Drawing& drawing) {
  acDocManagerPtr()->activateDocument(drawing.document);
}

// Each drawing new from the template, as a user would start it, and current from then on.
Drawing& DrawingOf(int figures) {
  static std::map<int, std::unique_ptr<Drawing>> drawings;
  std::unique_ptr<Drawing>& drawing = drawings[figures];
  if (drawing) {
    Activate(*drawing);
    return *drawing;
  }
  tessera::Transcript::instance().setSink(&KeptTranscript());
  drawing = std::make_unique<Drawing>();
  drawing->figures = figures;
  const auto start = std::chrono::steady_clock::now();
  std::string why;
  drawing->document = tessera::NewDrawing(why);
  if (drawing->document == nullptr) {
    drawing->failure = "no new drawing: " + why;
    return *drawing;
  }
  if (!Build(*drawing, why)) {
    drawing->failure = why;
    return *drawing;
  }
  drawing->buildSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The drawn figure, and a bulk one from the middle of the drawing.
  for (int figure : {0, figures / 2}) {
    if (!CheckCascade(*drawing, figure, why)) {
      drawing->failure = WithTranscript(why);
      break;
    }
  }
  UndoOf(*drawing).clear();
  KeptTranscript().str("");
  return *drawing;
}

// The next timed drag of the drawing; successive drags step through its figures.
bool DragNext(Drawing& drawing, std::string& why) {
  const int figure = static_cast<int>(drawing.nextDrag);
  drawing.nextDrag = (drawing.nextDrag + kDragStride) % drawing.outlines.size();
  ++drawing.drags;
  return Drag(drawing, figure, why);
}

// Whether the undo log is due to be emptied after the drag just made.
bool UndoDue(const Drawing& drawing) {
  return drawing.drags % kDragsPerUndoClear == 0;
}

// Every drag moved the total by the change of its figure's area; false, with the reason, when the
// total shows otherwise.
bool TotalHolds(const Drawing& drawing, std::string& why) {
  const std::string total = ViewOf(drawing.outlines[0]).total;
  if (total == ExpectedTotal(drawing)) return true;
  why = "after the drags the total shows \"" + total + "\" instead of \"" + ExpectedTotal(drawing) +
        "\"";
  return false;
}

// One grip drag of a triangle's base end, each time another figure, with the whole cascade.
void BM_DragTriangleCorner(benchmark::State& state) {
  Drawing& drawing = DrawingOf(static_cast<int>(state.range(0)));
  if (!drawing.failure.empty()) {
    state.SkipWithError(drawing.failure.c_str());
    return;
  }
  tessera::Transcript::instance().setSink(&DiscardedTranscript());
  std::string why;
  for (auto _ : state) {
    if (!DragNext(drawing, why)) {
      state.SkipWithError(why.c_str());
      break;
    }
    if (UndoDue(drawing)) {
      state.PauseTiming();
      UndoOf(drawing).clear();
      state.ResumeTiming();
    }
  }
  UndoOf(drawing).clear();
  tessera::Transcript::instance().setSink(&KeptTranscript());
  if (!TotalHolds(drawing, why)) state.SkipWithError(why.c_str());
  state.SetItemsProcessed(state.iterations());
  state.counters["figures"] = drawing.figures;
  state.counters["build_s"] = drawing.buildSeconds;
}
BENCHMARK(BM_DragTriangleCorner)
    ->Arg(kHundred)
    ->Arg(kHundredThousand)
    ->Unit(benchmark::kMicrosecond);

// Drags taken in one drawing before the other drawing's turn: enough that a drawing's own figures
// are back in the caches, few enough that both drawings meet the same load on the machine.
constexpr std::int64_t kDragsPerTurn = 128;
// Enough turns that the ratio settles.
constexpr double kAlternatingSeconds = 3.0;

// The ratio the goal is judged on: drags in the two drawings by turns, each timed on its own, so
// that whatever else the machine does slows both alike. The benchmark's own time is the mean of
// both drawings' drags; the counters give each and their ratio.
void BM_DragAlternately(benchmark::State& state) {
  std::array<Drawing*, 2> drawings = {&DrawingOf(kHundred), &DrawingOf(kHundredThousand)};
  for (const Drawing* drawing : drawings)
    if (!drawing->failure.empty()) {
      state.SkipWithError(drawing->failure.c_str());
      return;
    }
  tessera::Transcript::instance().setSink(&DiscardedTranscript());
  std::array<double, 2> seconds{};
  std::array<std::int64_t, 2> drags{};
  std::int64_t step = 0;
  std::string why;
  for (auto _ : state) {
    const std::int64_t turn = step++;
    const auto which = static_cast<std::size_t>((turn / kDragsPerTurn) % 2);
    Drawing& drawing = *drawings[which];
    if (turn % kDragsPerTurn == 0) Activate(drawing);
    const auto start = std::chrono::steady_clock::now();
    const bool dragged = DragNext(drawing, why);
    seconds[which] +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++drags[which];
    if (!dragged) {
      state.SkipWithError(why.c_str());
      break;
    }
    if (UndoDue(drawing)) {
      state.PauseTiming();
      UndoOf(drawing).clear();
      state.ResumeTiming();
    }
  }
  tessera::Transcript::instance().setSink(&KeptTranscript());
  for (Drawing* drawing : drawings) {
    UndoOf(*drawing).clear();
    Activate(*drawing);
    if (!TotalHolds(*drawing, why)) state.SkipWithError(why.c_str());
  }
  if (drags[0] == 0 || drags[1] == 0) return;
  constexpr double kMicroseconds = 1e6;
  const double small = seconds[0] / static_cast<double>(drags[0]) * kMicroseconds;
  const double large = seconds[1] / static_cast<double>(drags[1]) * kMicroseconds;
  state.counters["us_at_100"] = small;
  state.counters["us_at_100k"] = large;
  state.counters["ratio"] = large / small;
}
BENCHMARK(BM_DragAlternately)->MinTime(kAlternatingSeconds)->Unit(benchmark::kMicrosecond);

// The settings update of a whole drawing: every figure's texts measured afresh, with the cascade
// into its mark and its schedule row. It runs twice, to three decimals and back to two, and each
// time the schedule's total must show the figures' sum with the new decimals.
constexpr int kSettingsUpdateFigures = 10'000;
constexpr std::array<int, 2> kUpdateDigits = {3, 2};

std::string UpdateLine(int digits) {
  return area::StringPrintf("(areaset_set \"AREA_LINE|AREA_MARK|AREA_VALUE|-|-|1|%d|0\")\n",
                            digits);
}

void BM_SettingsUpdate(benchmark::State& state) {
  Drawing& drawing = DrawingOf(kSettingsUpdateFigures);
  if (!drawing.failure.empty()) {
    state.SkipWithError(drawing.failure.c_str());
    return;
  }
  tessera::Transcript::instance().setSink(&DiscardedTranscript());
  std::string why;
  std::size_t run = 0;
  for (auto _ : state) {
    const int digits = kUpdateDigits[run++ % kUpdateDigits.size()];
    if (!RunLines(UpdateLine(digits), why)) {
      state.SkipWithError(why.c_str());
      break;
    }
    state.PauseTiming();
    UndoOf(drawing).clear();
    const std::string expected = area::StringPrintf("%.*f", digits, drawing.figures * kAreaAsDrawn);
    if (ViewOf(drawing.outlines[0]).total != expected) {
      why = "after the update the total shows \"" + ViewOf(drawing.outlines[0]).total +
            "\" instead of \"" + expected + "\"";
      state.SkipWithError(why.c_str());
    }
    state.ResumeTiming();
  }
  tessera::Transcript::instance().setSink(&KeptTranscript());
  state.counters["figures"] = drawing.figures;
}
BENCHMARK(BM_SettingsUpdate)->Iterations(kUpdateDigits.size())->Unit(benchmark::kMillisecond);

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The console output, and the closing line: the drag times of both sizes timed one after the
// other, and those taken by turns with the ratio the goal is judged on.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!Speaks(run)) continue;
      if (auto figures = run.counters.find("figures"); figures != run.counters.end())
        m_apart[static_cast<int>(figures->second.value)] = run.GetAdjustedRealTime();
      if (auto ratio = run.counters.find("ratio"); ratio != run.counters.end())
        m_byTurns = {run.counters.at("us_at_100").value, run.counters.at("us_at_100k").value,
                     ratio->second.value};
    }
  }

  void printSummary(std::ostream& out) const {
    out << "linkage drag:";
    auto small = m_apart.find(kHundred);
    auto large = m_apart.find(kHundredThousand);
    if (small != m_apart.end() && large != m_apart.end() && small->second > 0.0)
      out << area::StringPrintf(" apart %.1f us and %.1f us (ratio %.2f);", small->second,
                                large->second, large->second / small->second);
    if (m_byTurns.ratio > 0.0) {
      out << area::StringPrintf(
          " by turns %.1f us at %d figures and %.1f us at %d, ratio %.2f (goal at most %.1f)%s;",
          m_byTurns.small, kHundred, m_byTurns.large, kHundredThousand, m_byTurns.ratio, kGoalRatio,
          m_byTurns.ratio <= kGoalRatio ? "" : ": ABOVE THE GOAL");
    } else {
      out << " no ratio by turns: those drags did not run;";
    }
    out << area::StringPrintf(" peak memory %.0f MB\n", PeakMegabytes());
  }

 private:
  struct Times {
    double small = 0.0;
    double large = 0.0;
    double ratio = 0.0;
  };
  std::map<int, double> m_apart;  // microseconds by figure count
  Times m_byTurns;
};

}  // namespace

int main(int argc, char** argv) {
  return RunWithPlugin<RatioReporter>(argc, argv, "linkage_bench", KeptTranscript());
}
