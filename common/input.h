// Talking to the user while a figure is made: picking its points, asking its label and handing
// the next default label back to LISP; converting picked points to world coordinates and the two
// checks every figure's points pass before anything is drawn.
#pragma once

#include <span>
#include <string>

#include "cad/arx.h"

namespace area {

// LISP symbols that receive the next default label, per numbering kind.
inline constexpr const char* kDecimalLabelSymbol = "$dar_no11";
inline constexpr const char* kUpperLabelSymbol = "$dar_no21";
inline constexpr const char* kLowerLabelSymbol = "$dar_no31";

// Labels and defaults are kept to this many UTF-16 code units, the host's answer buffer.
inline constexpr std::size_t kLabelLimit = 255;

// Two points whose heights differ by more than this (drawing units) are not level.
inline constexpr double kLevelTolerance = 0.0001;

// Colour of the rubber band drawn between picked points.
inline constexpr int kRubberBandColor = 7;

// ORTHOMODE of a pick step: off, on, or left as it is.
inline constexpr int kOrthoModeOff = 0;
inline constexpr int kOrthoModeOn = 1;
inline constexpr int kKeepOrthoMode = -1;

// One point after the first: its prompt, and ORTHOMODE set just before it is picked.
struct PointStep {
  const char* prompt;
  int orthoMode;
};

// Asks "\n記号を入力<default>:" and turns the answer into the label, moving the default on by the
// numbering kind. False, leaving both unchanged, when the prompt is cancelled or fails or the kind
// is not a numbering kind (its prompt is still shown). The answer is kept to kLabelLimit units.
bool AskLabel(int kind, std::string& nextDefault, std::string& label);

// Writes the next default label into the LISP symbol of the kind; other kinds write nothing.
void PublishDefaultLabel(int kind, const std::string& nextDefault);

// Point conversions between the current UCS and the world system; false when the host refuses.
bool UcsToWcs(const AcGePoint3d& in, AcGePoint3d& out);
bool WcsToUcs(const AcGePoint3d& in, AcGePoint3d& out);

// Converts every point of the list from the current UCS to the world system, in place; false at
// the first that fails.
bool PointsToWcs(AcGePoint3dArray& points);

// Whether any two points of the list lie within kCoincidentDistance (3D) of each other.
bool PointsCoincide(const AcGePoint3dArray& points);

// Whether each consecutive pair differs in height by at most kLevelTolerance; when not, the
// message box "\nXY平面に水平でありません" is shown first.
bool PointsLevel(const AcGePoint3dArray& points);

// Picks a figure's points in the current UCS: the first with firstPrompt (RETURN ends), then one
// per step from the previous point, with no empty answer, the rubber band drawn after each.
// ORTHOMODE is always set back to savedOrthoMode before returning. True when every prompt was
// answered and no two points coincide.
bool PickFigurePoints(const char* firstPrompt, std::span<const PointStep> steps, int savedOrthoMode,
                      AcGePoint3dArray& points);

}  // namespace area
