// Picking points, asking labels, and the checks of picked points.
#include "common/input.h"

#include <cmath>
#include <vector>

#include "common/geometry.h"
#include "common/label_numbering.h"
#include "common/messages.h"
#include "common/system_variables.h"
#include "common/text_units.h"

namespace area {
namespace {

constexpr const char* kLabelPrompt = "\n記号を入力<%s>:";
constexpr const char* kNotLevelMessage = "\nXY平面に水平でありません";

// Coordinate-system codes of acedTrans.
constexpr short kWorldSystem = 0;
constexpr short kUcsSystem = 1;

// Bytes of an answer of kLabelLimit UTF-16 units: each unit takes at most three UTF-8 bytes.
constexpr std::size_t kAnswerBufferBytes = kLabelLimit * 3 + 1;

bool Transform(const AcGePoint3d& in, short from, short to, AcGePoint3d& out) {
  resbuf source{};
  source.restype = RTSHORT;
  source.resval.rint = from;
  resbuf target{};
  target.restype = RTSHORT;
  target.resval.rint = to;
  ads_point point, result;
  ToAdsPoint(in, point);
  if (acedTrans(point, &source, &target, 0, result) != RTNORM) return false;
  out = FromAdsPoint(result);
  return true;
}

const char* LabelSymbolOf(int kind) {
  switch (kind) {
    case kNumberingDecimal:
      return kDecimalLabelSymbol;
    case kNumberingUpperCase:
      return kUpperLabelSymbol;
    case kNumberingLowerCase:
      return kLowerLabelSymbol;
    default:
      return nullptr;
  }
}

// Picks one point from `base` after ORTHOMODE is set for it; the rubber band follows a pick.
int PickStep(const PointStep& step, AcGePoint3dArray& points) {
  if (step.orthoMode != kKeepOrthoMode) SetIntVar(kOrthoModeVar, step.orthoMode);
  ads_point base, picked;
  ToAdsPoint(points.last(), base);
  acedInitGet(RSG_NONULL, nullptr);
  const int status = acedGetPoint(base, step.prompt, picked);
  if (status != RTNORM) return status;
  points.append(FromAdsPoint(picked));
  acedGrDraw(base, picked, kRubberBandColor, 0);
  return status;
}

}  // namespace

bool AskLabel(int kind, std::string& nextDefault, std::string& label) {
  std::vector<char> answer(kAnswerBufferBytes, '\0');
  if (acedGetString(0, StringPrintf(kLabelPrompt, nextDefault.c_str()).c_str(), answer.data(),
                    answer.size()) != RTNORM)
    return false;
  const std::string given = Utf16Prefix(answer.data(), kLabelLimit);
  const std::optional<LabelChoice> choice = ChooseLabel(kind, nextDefault, given);
  if (!choice) return false;
  label = choice->label;
  nextDefault = Utf16Prefix(choice->nextDefault, kLabelLimit);
  return true;
}

void PublishDefaultLabel(int kind, const std::string& nextDefault) {
  const char* symbol = LabelSymbolOf(kind);
  if (symbol == nullptr) return;
  resbuf* value = acutBuildList(RTSTR, nextDefault.c_str(), RTNONE);
  acedPutSym(symbol, value);
  acutRelRb(value);
}

bool UcsToWcs(const AcGePoint3d& in, AcGePoint3d& out) {
  return Transform(in, kUcsSystem, kWorldSystem, out);
}

bool WcsToUcs(const AcGePoint3d& in, AcGePoint3d& out) {
  return Transform(in, kWorldSystem, kUcsSystem, out);
}

bool PointsToWcs(AcGePoint3dArray& points) {
  for (AcGePoint3d& point : points)
    if (!UcsToWcs(point, point)) return false;
  return true;
}

bool PointsCoincide(const AcGePoint3dArray& points) {
  for (int i = 0; i < points.length(); ++i)
    for (int j = i + 1; j < points.length(); ++j)
      if (points[i].distanceTo(points[j]) <= kCoincidentDistance) return true;
  return false;
}

bool PointsLevel(const AcGePoint3dArray& points) {
  for (int i = 1; i < points.length(); ++i) {
    if (std::fabs(points[i].z - points[i - 1].z) > kLevelTolerance) {
      acedAlert(kNotLevelMessage);
      return false;
    }
  }
  return true;
}

bool PickFigurePoints(const char* firstPrompt, std::span<const PointStep> steps, int savedOrthoMode,
                      AcGePoint3dArray& points) {
  ads_point picked;
  int status = acedGetPoint(nullptr, firstPrompt, picked);
  if (status == RTNORM) {
    points.append(FromAdsPoint(picked));
    for (const PointStep& step : steps) {
      status = PickStep(step, points);
      if (status != RTNORM) break;
    }
  }
  SetIntVar(kOrthoModeVar, savedOrthoMode);
  return status == RTNORM && !PointsCoincide(points);
}

}  // namespace area
