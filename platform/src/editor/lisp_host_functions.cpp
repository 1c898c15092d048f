// The host's LISP functions: commands, system variables, entities and selection sets, and the
// loading of applications.
#include "editor/lisp_host_functions.h"

#include <memory>

#include "cad/arx.h"
#include "editor/command_feed.h"
#include "editor/document_state.h"
#include "editor/input_source.h"
#include "editor/selection.h"
#include "editor/system_variables.h"
#include "lisp/resbuf_convert.h"
#include "platform/applications.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

using lisp::Value;
using Args = std::vector<Value>;

// Messages of the host's LISP errors.
constexpr const char* kSettingRejected = "variable setting rejected: ";
constexpr const char* kInvalidCommandInput = "invalid input to command: ";
constexpr const char* kArxLoadFailed = "ARXLOAD failed";
constexpr const char* kArxUnloadFailed = "ARXUNLOAD failed";
constexpr const char* kPauseSymbol = "PAUSE";

struct ChainDeleter {
  void operator()(resbuf* chain) const { acutRelRb(chain); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

void NameOf(const Value& value, ads_name name) {
  if (!value.isEntityName()) lisp::ThrowBadArgumentType("lentityp", value);
  value.name(name);
}

void SetNameOf(const Value& value, ads_name name) {
  if (!value.isSelectionSet()) lisp::ThrowBadArgumentType("lselsetp", value);
  value.name(name);
}

bool IsPoint(const Value& value) {
  if (!value.isCons()) return false;
  std::vector<Value> items = lisp::ListToVector(value);
  if (items.size() < 2 || items.size() > 3) return false;
  for (const Value& item : items)
    if (!item.isNumber()) return false;
  return true;
}

void PointOf(const Value& value, ads_point point) {
  if (!IsPoint(value)) lisp::ThrowBadArgumentType("point", value);
  std::vector<Value> items = lisp::ListToVector(value);
  point[X] = items[0].number();
  point[Y] = items[1].number();
  point[Z] = items.size() == 3 ? items[2].number() : 0.0;
}

Value VariableToValue(const VariableValue& value) {
  if (const int* number = std::get_if<int>(&value)) return Value::Integer(*number);
  if (const double* real = std::get_if<double>(&value)) return Value::Real(*real);
  if (const std::string* text = std::get_if<std::string>(&value)) return Value::String(*text);
  const AcGePoint3d& p = std::get<AcGePoint3d>(value);
  return lisp::List({Value::Real(p.x), Value::Real(p.y), Value::Real(p.z)});
}

std::optional<VariableValue> ValueToVariable(const Value& value) {
  if (value.isInteger()) return VariableValue(static_cast<int>(value.integer()));
  if (value.isReal()) return VariableValue(value.real());
  if (value.isString()) return VariableValue(value.string());
  if (IsPoint(value)) {
    ads_point p;
    PointOf(value, p);
    return VariableValue(AcGePoint3d(p[X], p[Y], p[Z]));
  }
  return std::nullopt;
}

Value Command(lisp::Interpreter&, Args& args) {
  if (args.empty()) {
    CurrentState().commands().cancel();
    return Value();
  }
  std::vector<Answer> answers;
  for (const Value& arg : args) answers.push_back(AnswerFromValue(arg));
  std::string why;
  if (FeedCommandAnswers(answers, &why) == RTREJ) throw lisp::Error(kInvalidCommandInput + why);
  return Value();
}

Value GetVar(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 1, 1);
  std::optional<VariableValue> value = GetSystemVariable(lisp::StringArgument(args[0]));
  return value ? VariableToValue(*value) : Value();
}

Value SetVar(lisp::Interpreter& interpreter, Args& args) {
  lisp::CheckArgumentCount(args, 2, 2);
  const std::string& name = lisp::StringArgument(args[0]);
  std::optional<VariableValue> value = ValueToVariable(args[1]);
  if (!value || !SetSystemVariable(name, *value).empty())
    throw lisp::Error(kSettingRejected + interpreter.prin1String(args[0]) + " " +
                      interpreter.prin1String(args[1]));
  return args[1];
}

Value EntLast(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 0, 0);
  ads_name name;
  return acdbEntLast(name) == RTNORM ? Value::EntityName(name) : Value();
}

Value EntNext(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 0, 1);
  ads_name from = {0, 0};
  if (!args.empty() && !args[0].isNil()) NameOf(args[0], from);
  ads_name next;
  return acdbEntNext(from, next) == RTNORM ? Value::EntityName(next) : Value();
}

Value HandEnt(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 1, 1);
  ads_name name;
  return acdbHandEnt(lisp::StringArgument(args[0]).c_str(), name) == RTNORM
             ? Value::EntityName(name)
             : Value();
}

Value EntGet(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 1, 2);
  ads_name name;
  NameOf(args[0], name);
  std::vector<std::string> applications;
  if (args.size() == 2)
    for (const Value& application : lisp::ListToVector(args[1]))
      applications.push_back(lisp::StringArgument(application));
  Chain list(EntityGroupList(name, applications));
  return list ? lisp::GroupListToValue(list.get()) : Value();
}

// (ssget), (ssget "X" [filter]), (ssget "W" p1 p2 [filter]), (ssget point), (ssget filter).
Value SsGet(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 0, 4);
  std::string mode;
  ads_point corners[2] = {{0, 0, 0}, {0, 0, 0}};
  int cornerCount = 0;
  Chain filter;
  for (const Value& arg : args) {
    if (arg.isString() && mode.empty() && cornerCount == 0) {
      mode = arg.string();
    } else if (IsPoint(arg) && cornerCount < 2) {
      PointOf(arg, corners[cornerCount++]);
    } else if (arg.isList() && !filter) {
      filter.reset(lisp::ValueToGroupList(arg));
    } else {
      lisp::ThrowBadArgumentType("ssget", arg);
    }
  }
  ads_name selection;
  int status =
      acedSSGet(mode.empty() ? nullptr : mode.c_str(), cornerCount > 0 ? corners[0] : nullptr,
                cornerCount > 1 ? corners[1] : nullptr, filter.get(), selection);
  return status == RTNORM ? Value::SelectionSet(selection) : Value();
}

Value SsLength(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 1, 1);
  ads_name selection;
  SetNameOf(args[0], selection);
  std::int32_t length = 0;
  return acedSSLength(selection, &length) == RTNORM ? Value::Integer(length) : Value();
}

Value SsName(lisp::Interpreter&, Args& args) {
  lisp::CheckArgumentCount(args, 2, 2);
  ads_name selection;
  SetNameOf(args[0], selection);
  ads_name entity;
  return acedSSName(selection, lisp::IntegerArgument(args[1]), entity) == RTNORM
             ? Value::EntityName(entity)
             : Value();
}

// (arxload NAME [ONFAILURE]): the name on success; on failure ONFAILURE, or an error.
Value LoadOrUnload(Args& args, bool load) {
  lisp::CheckArgumentCount(args, 1, 2);
  const std::string& name = lisp::StringArgument(args[0]);
  std::string error;
  bool done = load ? LoadApplication(name, error) : UnloadApplication(name, error);
  if (done) return args[0];
  if (args.size() == 2) return args[1];
  if (!error.empty()) Transcript::instance().write("\n" + error);
  throw lisp::Error(load ? kArxLoadFailed : kArxUnloadFailed);
}

Value ArxLoad(lisp::Interpreter&, Args& args) {
  return LoadOrUnload(args, true);
}
Value ArxUnload(lisp::Interpreter&, Args& args) {
  return LoadOrUnload(args, false);
}

std::string EntityNameText(const ads_name name) {
  AcDbObjectId id;
  if (acdbGetObjectId(id, name) != Acad::eOk || id.isNull()) return {};
  return id.handle().text();
}

}  // namespace

void InstallHostFunctions(lisp::Interpreter& interpreter) {
  interpreter.define("command", Command);
  interpreter.define("getvar", GetVar);
  interpreter.define("setvar", SetVar);
  interpreter.define("entlast", EntLast);
  interpreter.define("entnext", EntNext);
  interpreter.define("handent", HandEnt);
  interpreter.define("entget", EntGet);
  interpreter.define("ssget", SsGet);
  interpreter.define("sslength", SsLength);
  interpreter.define("ssname", SsName);
  interpreter.define("arxload", ArxLoad);
  interpreter.define("arxunload", ArxUnload);
  interpreter.setSymbol(kPauseSymbol, Value::String(kPauseText));
  interpreter.setEntityNameText(EntityNameText);
}

}  // namespace tessera::editor
