// LISP functions of applications: acedDefun and acedUndef per drawing, the call of such a
// function (a kInvkSubrMsg to the application that defined it), its arguments and its result.
#include <memory>
#include <vector>

#include "apps/application_registry.h"
#include "cad/ads.h"
#include "editor/document_state.h"
#include "editor/lisp_host_functions.h"
#include "lisp/resbuf_convert.h"

namespace tessera::editor {

namespace {

// One call of an application's LISP function, innermost last.
struct FunctionCall {
  short code = 0;
  resbuf* arguments = nullptr;
  lisp::Value result = lisp::Value::NullSymbol();
};

std::vector<FunctionCall*>& Calls() {
  static std::vector<FunctionCall*> calls;
  return calls;
}

FunctionCall* InnermostCall() {
  return Calls().empty() ? nullptr : Calls().back();
}

int SetResult(lisp::Value value) {
  FunctionCall* call = InnermostCall();
  if (call == nullptr) return RTERROR;
  call->result = std::move(value);
  return RTNORM;
}

// Keeps the call on the stack and its arguments alive while the application runs.
class CallScope {
 public:
  explicit CallScope(FunctionCall& call) { Calls().push_back(&call); }
  ~CallScope() { Calls().pop_back(); }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
};

struct ResbufDeleter {
  void operator()(resbuf* chain) const { acutRelRb(chain); }
};

lisp::Value InvokeFunction(DocumentState& state, const std::string& name,
                           std::vector<lisp::Value>& args) {
  auto found = state.functions().find(name);
  auto* application = found == state.functions().end()
                          ? nullptr
                          : static_cast<apps::Application*>(found->second.application);
  if (application == nullptr || !apps::IsLoaded(application))
    throw lisp::Error(std::string(lisp::kNoFunctionDefinition) + name);
  std::unique_ptr<resbuf, ResbufDeleter> arguments(lisp::ArgumentsToResbuf(args));
  FunctionCall call;
  call.code = found->second.code;
  call.arguments = arguments.get();
  AcRx::AppRetCode reported = AcRx::kRetOK;
  {
    CallScope scope(call);
    reported = apps::SendAppMessage(*application, AcRx::kInvkSubrMsg);
  }
  // An error reported by the function is an ordinary nil result, not a LISP error.
  if (static_cast<int>(reported) == RSERR) return lisp::Value();
  return call.result;
}

std::string UpperName(const char* name) {
  return lisp::ToUpperAscii(name ? name : "");
}

}  // namespace

}  // namespace tessera::editor

using namespace tessera::editor;
namespace lisp = tessera::lisp;

int acedDefun(const char* name, short funcCode) {
  std::string upper = UpperName(name);
  if (upper.empty()) return RTERROR;
  DocumentState& state = CurrentState();
  state.functions()[upper] = {tessera::apps::RunningApplication(), funcCode};
  DocumentState* owner = &state;
  state.lisp().define(upper, [owner, upper](lisp::Interpreter&, std::vector<lisp::Value>& args) {
    return InvokeFunction(*owner, upper, args);
  });
  return RTNORM;
}

int acedUndef(const char* name, short funcCode) {
  std::string upper = UpperName(name);
  DocumentState& state = CurrentState();
  auto found = state.functions().find(upper);
  if (found == state.functions().end() || found->second.code != funcCode) return RTERROR;
  state.functions().erase(found);
  state.lisp().undefine(upper);
  return RTNORM;
}

int acedGetFunCode() {
  FunctionCall* call = InnermostCall();
  return call ? call->code : RTERROR;
}

resbuf* acedGetArgs() {
  FunctionCall* call = InnermostCall();
  return call ? call->arguments : nullptr;
}

int acedRetNil() {
  return SetResult(lisp::Value());
}
int acedRetT() {
  return SetResult(lisp::Value::T());
}
int acedRetVoid() {
  return SetResult(lisp::Value::NullSymbol());
}
int acedRetInt(int value) {
  return SetResult(lisp::Value::Integer(value));
}
int acedRetReal(ads_real value) {
  return SetResult(lisp::Value::Real(value));
}
int acedRetStr(const char* text) {
  return SetResult(lisp::Value::String(text ? text : ""));
}

int acedRetPoint(const ads_point point) {
  if (point == nullptr) return RTERROR;
  return SetResult(lisp::List(
      {lisp::Value::Real(point[X]), lisp::Value::Real(point[Y]), lisp::Value::Real(point[Z])}));
}

int acedRetName(const ads_name name, int type) {
  if (name == nullptr) return RTERROR;
  if (type == RTPICKS) return SetResult(lisp::Value::SelectionSet(name));
  if (type == RTENAME) return SetResult(lisp::Value::EntityName(name));
  return RTERROR;
}

int acedRetList(const resbuf* list) {
  try {
    return SetResult(lisp::ResbufToValue(list));
  } catch (const lisp::Error&) {
    return RTERROR;
  }
}

int acedPutSym(const char* symbol, resbuf* value) {
  std::string upper = UpperName(symbol);
  if (upper.empty()) return RTERROR;
  try {
    CurrentState().lisp().setSymbol(upper, lisp::ResbufToValue(value));
  } catch (const lisp::Error&) {
    return RTERROR;
  }
  return RTNORM;
}

int acedGetSym(const char* symbol, resbuf** value) {
  if (value == nullptr) return RTERROR;
  *value = nullptr;
  std::string upper = UpperName(symbol);
  if (upper.empty()) return RTERROR;
  try {
    *value = lisp::ValueToResbuf(CurrentState().lisp().getSymbol(upper));
  } catch (const lisp::Error&) {
    return RTERROR;
  }
  return RTNORM;
}
