// The system-variable table: each variable's type, default, range and where it is kept.
#include "editor/system_variables.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "cad/arx.h"
#include "editor/answer.h"
#include "editor/document_state.h"
#include "editor/name_index.h"
#include "lisp/printer.h"
#include "lisp/resbuf_convert.h"
#include "lisp/value.h"

namespace tessera::editor {

namespace {

// Why a setting is refused.
constexpr const char* kReadOnly = "read-only variable";
constexpr const char* kWrongType = "wrong value type";
constexpr const char* kOutOfRange = "value out of range";
constexpr const char* kNoSuchLayer = "no such layer";
constexpr const char* kNoDrawing = "no drawing";

enum class VarType { kShort, kReal, kString, kPoint };

using Getter = std::optional<VariableValue> (*)();
using Setter = std::string (*)(const VariableValue&);

struct Definition {
  const char* name;
  VarType type;
  VariableValue initial;
  int minimum = 0;
  int maximum = 32767;
  bool readOnly = false;
  Getter get = nullptr;  // kept elsewhere than in the session table
  Setter set = nullptr;
};

AcDbDatabase* Working() {
  return acdbHostApplicationServices()->workingDatabase();
}

std::optional<VariableValue> GetTextSize() {
  if (!Working()) return std::nullopt;
  return VariableValue(Working()->textsize());
}

std::string SetTextSize(const VariableValue& value) {
  double size = std::get<double>(value);
  if (size <= 0.0) return kOutOfRange;
  if (!Working()) return kNoDrawing;
  return Working()->setTextsize(size) == Acad::eOk ? "" : kOutOfRange;
}

std::optional<VariableValue> GetCurrentLayer() {
  if (!Working()) return std::nullopt;
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, Working()->clayer(), AcDb::kForRead) != Acad::eOk)
    return VariableValue(std::string("0"));
  std::string name = "0";
  if (auto* layer = AcDbLayerTableRecord::cast(object)) layer->getName(name);
  object->close();
  return VariableValue(name);
}

std::string SetCurrentLayer(const VariableValue& value) {
  if (!Working()) return kNoDrawing;
  AcDbLayerTable* table = nullptr;
  if (Working()->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return kNoSuchLayer;
  AcDbObjectId id;
  Acad::ErrorStatus status = table->getAt(std::get<std::string>(value).c_str(), id);
  table->close();
  if (status != Acad::eOk) return kNoSuchLayer;
  return Working()->setClayer(id) == Acad::eOk ? "" : kNoSuchLayer;
}

std::optional<VariableValue> GetUcsOrigin() {
  if (!Working()) return std::nullopt;
  return VariableValue(Working()->ucsorg());
}
std::optional<VariableValue> GetUcsXDir() {
  if (!Working()) return std::nullopt;
  AcGeVector3d x = Working()->ucsxdir();
  return VariableValue(AcGePoint3d(x.x, x.y, x.z));
}
std::optional<VariableValue> GetUcsYDir() {
  if (!Working()) return std::nullopt;
  AcGeVector3d y = Working()->ucsydir();
  return VariableValue(AcGePoint3d(y.x, y.y, y.z));
}
std::optional<VariableValue> GetWorldUcs() {
  if (!Working()) return std::nullopt;
  bool world = Working()->ucsorg() == AcGePoint3d::kOrigin &&
               Working()->ucsxdir() == AcGeVector3d::kXAxis &&
               Working()->ucsydir() == AcGeVector3d::kYAxis;
  return VariableValue(world ? 1 : 0);
}
std::optional<VariableValue> GetCommandActive() {
  return VariableValue(CurrentState().commands().pending() ? 1 : 0);
}
std::optional<VariableValue> GetDrawingName() {
  AcApDocument* document = CurrentDocument();
  std::string path = document ? document->fileName() : "";
  std::size_t slash = path.find_last_of('/');
  return VariableValue(slash == std::string::npos ? path : path.substr(slash + 1));
}
std::optional<VariableValue> GetDrawingPrefix() {
  AcApDocument* document = CurrentDocument();
  std::string path = document ? document->fileName() : "";
  std::size_t slash = path.find_last_of('/');
  return VariableValue(slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
}

const std::vector<Definition>& Definitions() {
  static const std::vector<Definition> definitions = {
      {"ATTDIA", VarType::kShort, 0, 0, 1},
      {"ATTREQ", VarType::kShort, 1, 0, 1},
      {"AUNITS", VarType::kShort, 0, 0, 4},
      {"AUPREC", VarType::kShort, 0, 0, 8},
      {"BLIPMODE", VarType::kShort, 0, 0, 1},
      {"CECOLOR", VarType::kString, std::string("BYLAYER")},
      {"CELTYPE", VarType::kString, std::string("BYLAYER")},
      {"CLAYER", VarType::kString, std::string("0"), 0, 0, false, GetCurrentLayer, SetCurrentLayer},
      {"CMDACTIVE", VarType::kShort, 0, 0, 0, true, GetCommandActive},
      {"CMDECHO", VarType::kShort, 1, 0, 1},
      {"DIMSCALE", VarType::kReal, 1.0},
      {"DWGNAME", VarType::kString, std::string(), 0, 0, true, GetDrawingName},
      {"DWGPREFIX", VarType::kString, std::string(), 0, 0, true, GetDrawingPrefix},
      {"ERRNO", VarType::kShort, 0, 0, 32767},
      {"EXPERT", VarType::kShort, 0, 0, 5},
      {"FILEDIA", VarType::kShort, 0, 0, 1},
      {"GRIDMODE", VarType::kShort, 0, 0, 1},
      {"HIGHLIGHT", VarType::kShort, 1, 0, 1},
      {"LASTPOINT", VarType::kPoint, AcGePoint3d()},
      {"LTSCALE", VarType::kReal, 1.0},
      {"LUNITS", VarType::kShort, 2, 1, 5},
      {"LUPREC", VarType::kShort, 4, 0, 8},
      {"ORTHOMODE", VarType::kShort, 0, 0, 1},
      {"OSMODE", VarType::kShort, 0, 0, 16383},
      {"PICKBOX", VarType::kShort, 3, 0, 50},
      {"SNAPMODE", VarType::kShort, 0, 0, 1},
      {"TEXTSIZE", VarType::kReal, 2.5, 0, 0, false, GetTextSize, SetTextSize},
      {"TEXTSTYLE", VarType::kString, std::string("Standard"), 0, 0, true},
      {"UCSORG", VarType::kPoint, AcGePoint3d(), 0, 0, true, GetUcsOrigin},
      {"UCSXDIR", VarType::kPoint, AcGePoint3d(1, 0, 0), 0, 0, true, GetUcsXDir},
      {"UCSYDIR", VarType::kPoint, AcGePoint3d(0, 1, 0), 0, 0, true, GetUcsYDir},
      {"WORLDUCS", VarType::kShort, 1, 0, 1, true, GetWorldUcs},
  };
  return definitions;
}

// Variables are looked up by name many times a command (LASTPOINT at every point prompt); the
// program names them in capitals, so the name is upper-cased only when it is not found as given.
const Definition* Find(std::string_view name) {
  static const auto byName = IndexByName(Definitions());
  auto found = byName.find(name);
  if (found == byName.end()) found = byName.find(lisp::ToUpperAscii(name));
  return found != byName.end() ? found->second : nullptr;
}

const Definition& LastPointDefinition() {
  static const Definition& definition = *Find("LASTPOINT");
  return definition;
}

// The values set in this session, of the variables kept here.
std::unordered_map<const Definition*, VariableValue>& Session() {
  static std::unordered_map<const Definition*, VariableValue> values;
  return values;
}

std::optional<VariableValue> ValueOf(const Definition& definition) {
  if (definition.get) return definition.get();
  auto found = Session().find(&definition);
  return found != Session().end() ? found->second : definition.initial;
}

// A value of another numeric type converted to the variable's, when that loses nothing.
std::optional<VariableValue> Coerce(VarType type, const VariableValue& value) {
  switch (type) {
    case VarType::kShort:
      if (const int* number = std::get_if<int>(&value)) return *number;
      return std::nullopt;
    case VarType::kReal:
      if (const double* number = std::get_if<double>(&value)) return *number;
      if (const int* number = std::get_if<int>(&value)) return static_cast<double>(*number);
      return std::nullopt;
    case VarType::kString:
      if (std::holds_alternative<std::string>(value)) return value;
      return std::nullopt;
    case VarType::kPoint:
      if (std::holds_alternative<AcGePoint3d>(value)) return value;
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<VariableValue> FromResbuf(const resbuf* value) {
  if (value == nullptr) return std::nullopt;
  switch (value->restype) {
    case RTSHORT:
      return VariableValue(static_cast<int>(value->resval.rint));
    case RTLONG:
      return VariableValue(static_cast<int>(value->resval.rlong));
    case RTREAL:
      return VariableValue(value->resval.rreal);
    case RTSTR:
      return VariableValue(std::string(value->resval.rstring ? value->resval.rstring : ""));
    case RTPOINT:
    case RT3DPOINT:
      return VariableValue(AcGePoint3d(value->resval.rpoint[0], value->resval.rpoint[1],
                                       value->restype == RTPOINT ? 0.0 : value->resval.rpoint[2]));
    default:
      return std::nullopt;
  }
}

void ToResbuf(const VariableValue& value, resbuf* result) {
  result->rbnext = nullptr;
  if (const int* number = std::get_if<int>(&value)) {
    result->restype = RTSHORT;
    result->resval.rint = static_cast<short>(*number);
  } else if (const double* real = std::get_if<double>(&value)) {
    result->restype = RTREAL;
    result->resval.rreal = *real;
  } else if (const std::string* text = std::get_if<std::string>(&value)) {
    // The caller releases the string, as the host's callers do.
    result->restype = RTSTR;
    result->resval.rstring = lisp::NewResbufString(*text);
  } else {
    const AcGePoint3d& point = std::get<AcGePoint3d>(value);
    result->restype = RT3DPOINT;
    result->resval.rpoint[0] = point.x;
    result->resval.rpoint[1] = point.y;
    result->resval.rpoint[2] = point.z;
  }
}

}  // namespace

bool IsSystemVariable(const std::string& name) {
  return Find(name) != nullptr;
}

bool IsReadOnlyVariable(const std::string& name) {
  const Definition* definition = Find(name);
  return definition != nullptr && definition->readOnly;
}

std::optional<VariableValue> GetSystemVariable(const std::string& name) {
  const Definition* definition = Find(name);
  if (definition == nullptr) return std::nullopt;
  return ValueOf(*definition);
}

std::string SetSystemVariable(const std::string& name, const VariableValue& value) {
  const Definition* definition = Find(name);
  if (definition == nullptr) return "unknown variable";
  if (definition->readOnly) return kReadOnly;
  std::optional<VariableValue> coerced = Coerce(definition->type, value);
  if (!coerced) return kWrongType;
  if (definition->type == VarType::kShort) {
    int number = std::get<int>(*coerced);
    if (number < definition->minimum || number > definition->maximum) return kOutOfRange;
  }
  if (definition->set) return definition->set(*coerced);
  Session()[definition] = *coerced;
  return {};
}

std::optional<VariableValue> ParseVariableValue(const std::string& name, const std::string& text) {
  const Definition* definition = Find(name);
  if (definition == nullptr) return std::nullopt;
  switch (definition->type) {
    case VarType::kShort:
      if (std::optional<int> number = ParseIntegerText(text)) return VariableValue(*number);
      return std::nullopt;
    case VarType::kReal:
      if (std::optional<double> number = ParseRealText(text)) return VariableValue(*number);
      return std::nullopt;
    case VarType::kString:
      return VariableValue(text);
    case VarType::kPoint:
      if (std::optional<AcGePoint3d> point = ParsePointText(text, LastPoint()))
        return VariableValue(*point);
      return std::nullopt;
  }
  return std::nullopt;
}

std::string VariableText(const VariableValue& value) {
  if (const int* number = std::get_if<int>(&value)) return std::to_string(*number);
  if (const double* real = std::get_if<double>(&value)) return lisp::FormatReal(*real);
  if (const std::string* text = std::get_if<std::string>(&value)) return "\"" + *text + "\"";
  const AcGePoint3d& point = std::get<AcGePoint3d>(value);
  return lisp::FormatReal(point.x) + "," + lisp::FormatReal(point.y) + "," +
         lisp::FormatReal(point.z);
}

int IntVariable(const std::string& name, int fallback) {
  std::optional<VariableValue> value = GetSystemVariable(name);
  if (value && std::holds_alternative<int>(*value)) return std::get<int>(*value);
  return fallback;
}

double RealVariable(const std::string& name, double fallback) {
  std::optional<VariableValue> value = GetSystemVariable(name);
  if (value && std::holds_alternative<double>(*value)) return std::get<double>(*value);
  return fallback;
}

AcGePoint3d LastPoint() {
  std::optional<VariableValue> value = ValueOf(LastPointDefinition());
  return value ? std::get<AcGePoint3d>(*value) : AcGePoint3d();
}

void SetLastPoint(const AcGePoint3d& point) {
  Session()[&LastPointDefinition()] = point;
}

void ResetSessionVariables() {
  Session().clear();
}

}  // namespace tessera::editor

int acedGetVar(const char* name, resbuf* result) {
  if (name == nullptr || result == nullptr) return RTERROR;
  std::optional<tessera::editor::VariableValue> value = tessera::editor::GetSystemVariable(name);
  if (!value) return RTERROR;
  tessera::editor::ToResbuf(*value, result);
  return RTNORM;
}

int acedSetVar(const char* name, const resbuf* value) {
  if (name == nullptr) return RTERROR;
  std::optional<tessera::editor::VariableValue> converted = tessera::editor::FromResbuf(value);
  if (!converted) return RTERROR;
  return tessera::editor::SetSystemVariable(name, *converted).empty() ? RTNORM : RTERROR;
}
