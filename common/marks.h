// The area mark: a block reference whose attributes carry a figure's label, shape code, value
// list and sign. It is inserted through the host's INSERT command so that the user's block
// definition answers its own attribute prompts; later changes go to the attributes by tag.
#pragma once

#include <string>

#include "cad/arx.h"

namespace area {

// Attribute tags of the mark block, in the order of its prompts.
inline constexpr const char* kLabelShortTag = "BANGO1";
inline constexpr const char* kLabelLongTag = "BANGO2";
inline constexpr const char* kShapeCodeTag = "KT";
inline constexpr const char* kValueListTag = "SK";
inline constexpr const char* kSignTag = "PM";

// Signs of a mark: added or subtracted area.
inline constexpr const char* kPositiveSign = "+";
inline constexpr const char* kNegativeSign = "-";

// Labels of up to this many UTF-16 code units go to BANGO1, longer ones to BANGO2.
inline constexpr std::size_t kShortLabelLimit = 2;

// The answers to the mark's five attribute prompts.
struct MarkAnswers {
  std::string label;
  short shapeCode = 0;
  std::string valueList;
  std::string sign = kPositiveSign;
};

// Runs ".INSERT" with the block name, the point (current UCS) as "%lf,%lf" text, the two scales
// and the rotation in degrees; true when the host accepts all of them and the insertion is
// complete. A block that asks for attributes is not inserted: the insertion is cancelled.
bool InsertBlock(const AcGePoint3d& ucsPoint, const std::string& blockName, double xScale,
                 double yScale, double rotation);

// Inserts the mark at a world point with scale `scale` and rotation 0, answers its attribute
// prompts, and returns the new block reference, or the null id when the host refuses any step,
// the block has no attribute prompts or the value list holds a value no number holds; nothing
// of a failed insertion stays. The mark lands on the current layer.
AcDbObjectId InsertMark(const AcGePoint3d& worldPoint, const std::string& blockName, double scale,
                        const MarkAnswers& answers);

// Sets the SK attribute to the value list; when `move` the mark and its attributes first move to
// `position`. False when the handle does not resolve or the mark does not open.
bool UpdateMark(AcDbHandle& markHandle, const AcGePoint3d& position, const std::string& valueList,
                bool move);

// What a mark carries, read back by tag.
struct MarkContents {
  std::string label;      // the non-empty BANGO1 or BANGO2, the later one winning
  std::string valueList;  // SK
  bool negative = false;  // PM is exactly "-"
};

// Reads the mark's label, value list and sign; false unless it is a block reference with both a
// label and a value list.
bool ReadMark(AcDbHandle& markHandle, MarkContents& contents);

}  // namespace area
