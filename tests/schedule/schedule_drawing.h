// A template drawing with the application loaded, where tests draw figures and unlinked marks
// through the command line and tabulate them with plot_tally, then read the table back as
// one line of text per entity.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "platform/applications.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"
#include "support/test_drawing.h"

namespace area::testing {

// General form, scale 1 and height 3 (table unit 1), no unit text, 2 digits, natural order,
// rounding half up.
inline constexpr const char* kGeneralSettings = "0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|1|0";
// The same in triangle form with "m2".
inline constexpr const char* kTriangleSettings = "1|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|1|2|1|0";

// What plot_tally gave back: nothing, an error (nil), or the printed list.
struct TallyResult {
  bool error = false;
  std::string list;  // empty when no list was returned
};

// A coordinate as the entity lines show it: rounded to a millionth, without "-0".
inline std::string Coordinate(double value) {
  double rounded = std::round(value * 1e6) / 1e6;
  if (rounded == 0.0) rounded = 0.0;
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", rounded);
  return text;
}

inline std::string PointText(const AcGePoint3d& p) {
  return "(" + Coordinate(p.x) + "," + Coordinate(p.y) + ")";
}

// The role an entity carries under "PLOT_TALLY", or "" when it has none.
inline std::string ScheduleRole(const AcDbEntity* entity) {
  resbuf* xdata = entity->xData("PLOT_TALLY");
  std::string role;
  for (const resbuf* rb = xdata; rb != nullptr; rb = rb->rbnext)
    if (rb->restype == AcDb::kDxfXdAsciiString && rb->resval.rstring) role += rb->resval.rstring;
  acutRelRb(xdata);
  return role;
}

// One line of text for a schedule entity: kind, role, layer and geometry.
inline std::string DescribeTableEntity(const AcDbEntity* entity, const std::string& role) {
  const std::string head = role + " " + entity->layer() + " ";
  if (const AcDbLine* line = AcDbLine::cast(entity))
    return "LINE " + head + PointText(line->startPoint()) + "-" + PointText(line->endPoint());
  if (const AcDbText* text = AcDbText::cast(entity)) {
    const char* modes[] = {"L", "C", "R"};
    const int mode = text->horizontalMode();
    const AcGePoint3d at = mode == AcDb::kTextLeft ? text->position() : text->alignmentPoint();
    const std::string vertical = text->verticalMode() == AcDb::kTextBottom ? "" : " not bottom";
    return "TEXT " + head + (mode >= 0 && mode <= 2 ? modes[mode] : "?") + vertical + " " +
           PointText(at) + " \"" + text->textString() + "\"";
  }
  if (const AcDbBlockReference* reference = AcDbBlockReference::cast(entity))
    return "INSERT " + head + reference->blockName() + " " + PointText(reference->position()) +
           " scale " + Coordinate(reference->scaleFactors().sx) + " rotation " +
           Coordinate(reference->rotation());
  return "OTHER " + head;
}

class ScheduleDrawing : public tessera::testing::TestDrawing {
 protected:
  void SetUp() override {
    TestDrawing::SetUp();
    std::string error;
    ASSERT_TRUE(tessera::LoadLinkedApplication("tessera_area", acrxEntryPoint, error)) << error;
  }

  // Draws a linked figure labelled `label` and gives its mark. The triangle's apex is at (x, y)
  // with base 4 m and height 2 m, "( 4.00 2.00 8.00 4.00 )"; the rectangle's corner is at
  // (x, y), 2 m by 1 m, "( 2.00 1.00 2.00 )".
  AcDbObjectId drawTriangle(const std::string& label, double x, double y) {
    return drawFigure("area_triangle", {At(x, y), At(x - 1000, y - 2000), At(x + 3000, y - 2000)},
                      label);
  }
  AcDbObjectId drawRectangle(const std::string& label, double x, double y) {
    return drawFigure("area_rectangle", {At(x, y + 1000), At(x, y), At(x + 2000, y)}, label);
  }

  // Inserts a mark that no record lists, with these attribute texts.
  AcDbObjectId insertMark(const std::string& label, int kind, const std::string& valueList,
                          const std::string& sign, double x, double y) {
    // Through LISP, so that a value list starting with "(" is a text, not an expression.
    const std::string script = "(command \"-INSERT\" \"AREA1\" \"" + At(x, y) + "\" 1 1 0 \"" +
                               label + "\" \"\" " + std::to_string(kind) + " \"" + valueList +
                               "\" \"" + sign + "\")\n";
    EXPECT_EQ(run(script).status, 0) << transcript();
    return lastMark();
  }

  // Replaces one attribute's text of a mark, as an edit outside the plug-in would.
  void setAttribute(AcDbObjectId mark, const std::string& tag, const std::string& text) {
    AcDbBlockReference* reference = open<AcDbBlockReference>(mark);
    ASSERT_NE(reference, nullptr);
    for (AcDbObjectId id : reference->attributeIds()) {
      AcDbAttribute* attribute = nullptr;
      ASSERT_EQ(reference->openAttribute(attribute, id, AcDb::kForWrite), Acad::eOk);
      if (attribute->tag() == tag) attribute->setTextString(text.c_str());
      attribute->close();
    }
    reference->close();
  }

  // Runs plot_tally with the settings, selecting `marks` in this order, then the answers (one a
  // line: the keyword, the insertion point ...).
  TallyResult plotTally(const std::string& settings, const std::vector<AcDbObjectId>& marks,
                        const std::vector<std::string>& answers = {"0,0"}) {
    std::vector<std::string> lines;
    for (AcDbObjectId mark : marks) lines.push_back("(handent \"" + handleText(mark) + "\")");
    lines.push_back("");
    lines.insert(lines.end(), answers.begin(), answers.end());
    return call("(plot_tally \"" + settings + "\")", lines);
  }

  // Runs one LISP call and the lines that answer its prompts.
  TallyResult call(const std::string& expression, const std::vector<std::string>& answers = {}) {
    std::string script = expression + "\n";
    for (const std::string& answer : answers) script += answer + "\n";
    script += "(princ \"|end\")\n";
    const std::size_t start = transcript().size();
    EXPECT_EQ(run(script).status, 0) << transcript();
    return ResultBefore(transcript().substr(start), "Command: (princ \"|end\")");
  }

  bool shows(const std::string& text) const { return transcript().find(text) != std::string::npos; }

  // Model-space entities of the working drawing (the one last opened), in drawing order.
  static std::vector<AcDbObjectId> modelSpace() {
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* working = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* table = nullptr;
    if (working == nullptr || working->getBlockTable(table, AcDb::kForRead) != Acad::eOk)
      return ids;
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
    table->close();
    if (space == nullptr) return ids;
    AcDbBlockTableRecordIterator* iterator = nullptr;
    if (space->newIterator(iterator) == Acad::eOk) {
      for (; !iterator->done(); iterator->step()) {
        AcDbObjectId id;
        if (iterator->getEntityId(id) == Acad::eOk && !id.isErased()) ids.push_back(id);
      }
      delete iterator;
    }
    space->close();
    return ids;
  }

  // The object of a handle in the working drawing.
  static AcDbObjectId idOf(const AcDbHandle& handle) {
    AcDbObjectId id;
    acdbHostApplicationServices()->workingDatabase()->getAcDbObjectId(id, false, handle);
    return id;
  }

  // The entities tagged "PLOT_TALLY" in drawing order, each as one line of text.
  std::vector<std::string> tableEntities() {
    std::vector<std::string> lines;
    for (AcDbObjectId id : modelSpace()) {
      AcDbEntity* entity = nullptr;
      if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
      const std::string role = ScheduleRole(entity);
      if (!role.empty()) lines.push_back(DescribeTableEntity(entity, role));
      entity->close();
    }
    return lines;
  }

  // Handles of the tagged texts whose string is `text`, in drawing order.
  std::vector<AcDbHandle> tableTexts(const std::string& text) {
    std::vector<AcDbHandle> handles;
    for (AcDbObjectId id : modelSpace()) {
      AcDbEntity* entity = nullptr;
      if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
      const AcDbText* found = AcDbText::cast(entity);
      if (found && !ScheduleRole(entity).empty() && found->textString() == text)
        handles.push_back(id.handle());
      entity->close();
    }
    return handles;
  }

  // The figure record that lists the mark, opened for read (the caller closes it), or null.
  FigureRecord* openRecordOf(AcDbObjectId mark) {
    for (const char* name : kFigureDictionaries) {
      FigureRecord* record = FindRecordByMark(name, mark, AcDb::kForRead);
      if (record != nullptr) return record;
    }
    return nullptr;
  }
  AcDbObjectId recordIdOf(AcDbObjectId mark) {
    FigureRecord* record = openRecordOf(mark);
    if (record == nullptr) return AcDbObjectId();
    const AcDbObjectId id = record->objectId();
    record->close();
    return id;
  }
  int tableRowCount(AcDbObjectId mark) {
    FigureRecord* record = openRecordOf(mark);
    if (record == nullptr) return -1;
    Adesk::Int16 count = -1;
    record->tableRowCount(count);
    record->close();
    return count;
  }
  int triangleRowCount(AcDbObjectId mark) {
    FigureRecord* record = openRecordOf(mark);
    if (record == nullptr) return -1;
    Adesk::Int16 count = -1;
    if (auto* triangle = AreaDic_Triangle::cast(record)) triangle->triangleRowCount(count);
    record->close();
    return count;
  }

  AcDbObjectId lastMark() {
    AcDbObjectId last;
    for (AcDbObjectId id : modelSpace()) {
      AcDbBlockReference* reference = nullptr;
      if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) continue;
      if (reference->blockName() == "AREA1") last = id;
      reference->close();
    }
    return last;
  }

 private:
  static std::string At(double x, double y) { return Coordinate(x) + "," + Coordinate(y); }

  AcDbObjectId drawFigure(const std::string& function, const std::vector<std::string>& points,
                          const std::string& label) {
    std::string script =
        "(" + function + " \"AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0\")\n";
    for (const std::string& point : points) script += point + "\n";
    script += label + "\n\n";
    EXPECT_EQ(run(script).status, 0) << transcript();
    return lastMark();
  }

  // The value printed for the call, which ends the last line before the marker: a message
  // printed by the call may stand before it on that line.
  static TallyResult ResultBefore(const std::string& text, const std::string& marker) {
    const std::vector<std::string> lines = tessera::testing::Lines(text);
    TallyResult result;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      if (lines[i] != marker) continue;
      const std::string& last = lines[i - 1];
      result.error = last.size() >= 3 && last.compare(last.size() - 3, 3, "nil") == 0;
      const std::size_t list = last.find("((");
      if (list != std::string::npos) result.list = last.substr(list);
      break;
    }
    return result;
  }
};

}  // namespace area::testing
