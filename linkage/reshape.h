// The reshape of a four-cornered outline after one corner was dragged: a rectangle stays a
// rectangle (the opposite corner fixed, the two others slid along its sides), a trapezoid keeps
// its bases parallel (the neighbouring corner slid along its leg). The dragged corner is the
// first that lies more than kCoincidentDistance from its place before the drag.
#pragma once

#include <optional>

#include "cad/arx.h"

namespace area {

enum class ReshapeResult {
  kReshaped,
  kNothingMoved,      // no corner moved, or either outline has other than four corners
  kNoIntersection,    // a construction line ran parallel to the side it must meet
  kNotPerpendicular,  // the rectangle's corner at p2 is no right angle within kAngleTolerance
  kNotParallel,       // the trapezoid's bases point different ways
};

struct Reshape {
  ReshapeResult result = ReshapeResult::kNothingMoved;
  AcGePoint3dArray corners;  // the reshaped four corners when kReshaped
};

// `before` is the outline as it was opened for the drag, `after` as the drag left it.
Reshape ReshapeRectangle(const AcGePoint3dArray& before, const AcGePoint3dArray& after);
Reshape ReshapeTrapezoid(const AcGePoint3dArray& before, const AcGePoint3dArray& after);

// Reshapes a figure's dragged outline and writes the corners back into its polyline. A refusal
// of kind `refusal` shows `message` in a message box; every refusal keeps the user's drag.
using ReshapeFunction = Reshape (*)(const AcGePoint3dArray&, const AcGePoint3dArray&);
bool ReshapeOutline(AcDbObjectId outlineId, const AcGePoint3dArray& snapshot,
                    ReshapeFunction reshape, ReshapeResult refusal, const char* message,
                    AcGePoint3dArray& corners);

// The line through `through` in the direction `angle` (radians) meets the unbounded line p-q.
std::optional<AcGePoint3d> MeetAlong(const AcGePoint3d& through, double angle, const AcGePoint3d& p,
                                     const AcGePoint3d& q);

}  // namespace area
