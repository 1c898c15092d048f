// Inserting, updating and reading area marks.
#include "common/marks.h"

#include "common/figure_entities.h"
#include "common/geometry.h"
#include "common/handles.h"
#include "common/input.h"
#include "common/messages.h"
#include "common/system_variables.h"
#include "common/text_units.h"
#include "common/value_format.h"
#include "common/value_list.h"

namespace area {
namespace {

constexpr const char* kInsertCommand = ".INSERT";
// Whether a command is waiting for answers.
constexpr const char* kCommandActiveVar = "CMDACTIVE";

// The point as the host's INSERT reads it from a command line.
std::string PointText(const AcGePoint3d& point) {
  return StringPrintf("%lf,%lf", point.x, point.y);
}

// Answers the mark's attribute prompts: a short label goes to the first, a longer one to the
// second, the other prompt getting an empty answer.
bool AnswerAttributes(const MarkAnswers& answers) {
  const std::string label = Utf16Prefix(answers.label, kLabelLimit);
  const bool isShort = Utf16Length(label) <= kShortLabelLimit;
  const std::string first = isShort ? label : "";
  const std::string second = isShort ? "" : label;
  return acedCommand(RTSTR, first.c_str(), RTSTR, second.c_str(), RTSHORT,
                     static_cast<int>(answers.shapeCode), RTSTR, answers.valueList.c_str(), RTSTR,
                     answers.sign.c_str(), RTNONE) == RTNORM;
}

// Runs ".INSERT" up to its rotation; true when the host accepts every answer. A block with
// attribute definitions then waits for their answers.
bool StartInsert(const AcGePoint3d& ucsPoint, const std::string& blockName, double xScale,
                 double yScale, double rotation) {
  const std::string point = PointText(ucsPoint);
  return acedCommand(RTSTR, kInsertCommand, RTSTR, blockName.c_str(), RTSTR, point.c_str(), RTREAL,
                     xScale, RTREAL, yScale, RTREAL, RadiansToDegrees(rotation), RTNONE) == RTNORM;
}

AcDbObjectId LastEntity() {
  ads_name last;
  AcDbObjectId id;
  if (acdbEntLast(last) != RTNORM || acdbGetObjectId(id, last) != Acad::eOk) id.setNull();
  return id;
}

bool CommandWaiting() {
  int active = 0;
  return GetIntVar(kCommandActiveVar, active) && active != 0;
}

// Cancels a command left waiting, so that no later answer of the figure goes to it.
void CancelWaitingCommand() {
  if (CommandWaiting()) acedCommand(RTNONE);
}

// Whether the mark carries the value list it was given, so that nothing else got into it.
bool CarriesValueList(AcDbObjectId markId, const std::string& valueList) {
  AcDbHandle handle = markId.handle();
  MarkContents contents;
  return ReadMark(handle, contents) && contents.valueList == valueList;
}

// The block reference the insertion made, if it made one.
AcDbObjectId InsertedSince(const AcDbObjectId& before) {
  const AcDbObjectId last = LastEntity();
  return last == before ? AcDbObjectId::kNull : last;
}

// Moves the attribute's position and alignment point by the displacement.
void MoveAttribute(AcDbAttribute* attribute, const AcGeVector3d& displacement) {
  attribute->setPosition(attribute->position() + displacement);
  attribute->setAlignmentPoint(attribute->alignmentPoint() + displacement);
}

void ReadAttribute(const AcDbAttribute* attribute, MarkContents& contents, bool& hasLabel,
                   bool& hasList) {
  const std::string tag = attribute->tag();
  const std::string text = attribute->textString();
  if (text.empty()) return;
  if (tag == kLabelShortTag || tag == kLabelLongTag) {
    contents.label = text;
    hasLabel = true;
  } else if (tag == kValueListTag) {
    contents.valueList = text;
    hasList = true;
  } else if (tag == kSignTag) {
    contents.negative = text == kNegativeSign;
  }
}

}  // namespace

bool InsertBlock(const AcGePoint3d& ucsPoint, const std::string& blockName, double xScale,
                 double yScale, double rotation) {
  // A block with attribute prompts would leave the insertion waiting for answers nobody gives.
  const bool inserted =
      StartInsert(ucsPoint, blockName, xScale, yScale, rotation) && !CommandWaiting();
  CancelWaitingCommand();
  return inserted;
}

AcDbObjectId InsertMark(const AcGePoint3d& worldPoint, const std::string& blockName, double scale,
                        const MarkAnswers& answers) {
  // A measure too large for a number is a failed measure, never a mark showing "inf".
  if (!AllFitInNumbers(SplitValueList(answers.valueList))) return AcDbObjectId::kNull;
  AcGePoint3d ucsPoint;
  if (!WcsToUcs(worldPoint, ucsPoint)) return AcDbObjectId::kNull;
  const AcDbObjectId before = LastEntity();
  // A block without attribute prompts ends the insertion at once: its answers would be taken
  // as commands, so they are not given.
  const bool answered = StartInsert(ucsPoint, blockName, scale, scale, 0.0) && CommandWaiting() &&
                        AnswerAttributes(answers);
  CancelWaitingCommand();
  const AcDbObjectId mark = InsertedSince(before);
  if (answered && !mark.isNull() && CarriesValueList(mark, answers.valueList)) return mark;
  if (!mark.isNull()) EraseObject(mark);
  return AcDbObjectId::kNull;
}

bool UpdateMark(AcDbHandle& markHandle, const AcGePoint3d& position, const std::string& valueList,
                bool move) {
  if (!AllFitInNumbers(SplitValueList(valueList))) return false;
  AcDbObjectId markId;
  if (!HandleToId(markHandle, markId)) return false;
  AcDbBlockReference* mark = nullptr;
  if (acdbOpenObject(mark, markId, AcDb::kForWrite) != Acad::eOk) return false;
  const AcGeVector3d displacement = position - mark->position();
  if (move) mark->setPosition(position);
  for (const AcDbObjectId& attributeId : mark->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    if (mark->openAttribute(attribute, attributeId, AcDb::kForWrite) != Acad::eOk) continue;
    if (move) MoveAttribute(attribute, displacement);
    if (attribute->tag() == kValueListTag) attribute->setTextString(valueList.c_str());
    attribute->close();
  }
  mark->close();
  return true;
}

bool ReadMark(AcDbHandle& markHandle, MarkContents& contents) {
  AcDbObjectId markId;
  if (!HandleToId(markHandle, markId)) return false;
  AcDbBlockReference* mark = nullptr;
  if (acdbOpenObject(mark, markId, AcDb::kForRead) != Acad::eOk) return false;
  bool hasLabel = false;
  bool hasList = false;
  for (const AcDbObjectId& attributeId : mark->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    if (mark->openAttribute(attribute, attributeId, AcDb::kForRead) != Acad::eOk) continue;
    ReadAttribute(attribute, contents, hasLabel, hasList);
    attribute->close();
  }
  mark->close();
  return hasLabel && hasList;
}

}  // namespace area
