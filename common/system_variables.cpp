// Reading and setting system variables.
#include "common/system_variables.h"

#include "cad/arx.h"

namespace area {
namespace {

// The host's own wording; the read message for reals has no leading line break.
constexpr const char* kGetIntFailed = "\nシステム変数の取得が異常です。:GetVar(%s,nValue)";
constexpr const char* kGetRealFailed = "システム変数の取得が異常です。:GetVar(%s,rValue)";
constexpr const char* kSetIntFailed = "\nシステム変数の設定が異常です。:SetVar(%s,nValue)";

}  // namespace

bool GetIntVar(const char* name, int& value) {
  resbuf result{};
  if (acedGetVar(name, &result) == RTNORM && result.restype == RTSHORT) {
    value = result.resval.rint;
    return true;
  }
  if (result.restype == RTSTR) acutDelBuffer(result.resval.rstring);
  acutPrintf(kGetIntFailed, name);
  return false;
}

bool GetRealVar(const char* name, double& value) {
  resbuf result{};
  if (acedGetVar(name, &result) == RTNORM && result.restype == RTREAL) {
    value = result.resval.rreal;
    return true;
  }
  if (result.restype == RTSTR) acutDelBuffer(result.resval.rstring);
  acutPrintf(kGetRealFailed, name);
  return false;
}

bool SetIntVar(const char* name, int value) {
  resbuf setting{};
  setting.restype = RTSHORT;
  setting.resval.rint = static_cast<short>(value);
  if (acedSetVar(name, &setting) == RTNORM) return true;
  acutPrintf(kSetIntFailed, name);
  return false;
}

}  // namespace area
