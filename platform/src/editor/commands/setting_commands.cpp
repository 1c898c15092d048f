// Settings: -LAYER, UCS, SETVAR (and system-variable names typed as commands), REDRAW.
#include <vector>

#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "editor/message_text.h"
#include "editor/system_variables.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

namespace layer_prompts {
constexpr const char* kOption = "\nEnter an option [Make/Set/New/ON/OFF/Color]: ";
constexpr const char* kMakeName = "\nEnter name for new layer (becomes the current layer) <%s>: ";
constexpr const char* kSetName = "\nEnter layer name to make current: ";
constexpr const char* kNewNames = "\nEnter name list for new layer(s): ";
constexpr const char* kOnNames = "\nEnter name list of layer(s) to turn On: ";
constexpr const char* kOffNames = "\nEnter name list of layer(s) to turn off: ";
constexpr const char* kColor = "\nEnter color number (1-255): ";
constexpr const char* kColorNames = "\nEnter name list of layer(s) for color %s <%s>: ";
constexpr const char* kNoSuchLayer = "\nCannot find layer \"%s\".";
}  // namespace layer_prompts

namespace ucs_prompts {
constexpr const char* kOption = "\nSpecify origin of UCS or [World/Origin/3point] <World>: ";
constexpr const char* kOrigin = "\nSpecify new origin point <0,0,0>: ";
constexpr const char* kXAxis = "\nSpecify point on positive portion of X-axis: ";
constexpr const char* kYPlane = "\nSpecify point on positive-Y portion of the UCS XY plane: ";
constexpr const char* kNotAPlane = "The three points do not define a plane.";
}  // namespace ucs_prompts

namespace setvar_prompts {
constexpr const char* kName = "\nEnter variable name: ";
constexpr const char* kValue = "\nEnter new value for %s <%s>: ";
constexpr const char* kReadOnly = "\n%s = %s (read only)";
constexpr const char* kUnknown = "Unknown variable name \"%s\".";
constexpr const char* kRejected = "\nValue rejected: %s.";
}  // namespace setvar_prompts

const std::vector<std::string> kLayerOptions = {"Make", "Set", "New", "ON", "OFF", "Color"};
const std::vector<std::string> kUcsOptions = {"World", "Origin", "3point"};
constexpr int kMaxColor = 255;

std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string name = list.substr(start, end - start);
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

std::string Filled(const char* format, const std::string& first, const std::string& second) {
  return Substitute(format, {first, second});
}

// Makes the layer when it is not there; its id either way.
AcDbObjectId EnsureLayer(AcDbDatabase* database, const std::string& name) {
  AcDbLayerTable* table = nullptr;
  if (database->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  if (table->getAt(name.c_str(), id) != Acad::eOk && table->upgradeOpen() == Acad::eOk) {
    auto* layer = new AcDbLayerTableRecord;
    if (layer->setName(name.c_str()) == Acad::eOk && table->add(id, layer) == Acad::eOk) {
      layer->close();
    } else {
      delete layer;
      id.setNull();
    }
  }
  table->close();
  return id;
}

AcDbObjectId FindLayer(AcDbDatabase* database, const std::string& name) {
  AcDbLayerTable* table = nullptr;
  if (database->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

void ChangeLayers(AcDbDatabase* database, const std::string& list,
                  void (*change)(AcDbLayerTableRecord*, int), int value) {
  for (const std::string& name : SplitNames(list)) {
    AcDbObjectId id = FindLayer(database, name);
    Opened<AcDbLayerTableRecord> layer(id, AcDb::kForWrite);
    if (!layer) {
      Transcript::instance().write(Formatted(layer_prompts::kNoSuchLayer, name));
      continue;
    }
    change(layer.get(), value);
  }
}

std::string CurrentLayerName() {
  std::optional<VariableValue> value = GetSystemVariable("CLAYER");
  return value ? std::get<std::string>(*value) : "0";
}

Task<void> LayerColor(CommandContext& command) {
  Answer color = co_await command.getInteger(layer_prompts::kColor);
  if (color.kind != AnswerKind::kInteger) co_return;
  if (color.integer < 1 || color.integer > kMaxColor) throw CommandError("Invalid color number.");
  Answer names = co_await command.getString(
      Filled(layer_prompts::kColorNames, std::to_string(color.integer), CurrentLayerName()), false);
  std::string list = names.text.empty() ? CurrentLayerName() : names.text;
  ChangeLayers(
      command.database(), list,
      [](AcDbLayerTableRecord* layer, int value) {
        layer->setColorIndex(static_cast<Adesk::UInt16>(value));
      },
      color.integer);
}

Task<void> LayerCommand(CommandContext& command) {
  for (;;) {
    Answer option = co_await command.getKeyword(layer_prompts::kOption, kLayerOptions);
    if (option.kind != AnswerKind::kKeyword) co_return;
    const std::string& chosen = option.text;
    AcDbDatabase* database = command.database();
    if (chosen == "Make") {
      Answer name =
          co_await command.getString(Formatted(layer_prompts::kMakeName, CurrentLayerName()), true);
      if (!name.text.empty()) database->setClayer(EnsureLayer(database, name.text));
    } else if (chosen == "Set") {
      Answer name = co_await command.getString(layer_prompts::kSetName, true);
      AcDbObjectId id = FindLayer(database, name.text);
      if (id.isNull() && !name.text.empty())
        Transcript::instance().write(Formatted(layer_prompts::kNoSuchLayer, name.text));
      if (!id.isNull()) database->setClayer(id);
    } else if (chosen == "New") {
      Answer names = co_await command.getString(layer_prompts::kNewNames, true);
      for (const std::string& name : SplitNames(names.text)) EnsureLayer(database, name);
    } else if (chosen == "ON" || chosen == "OFF") {
      Answer names = co_await command.getString(
          chosen == "ON" ? layer_prompts::kOnNames : layer_prompts::kOffNames, true);
      ChangeLayers(
          database, names.text,
          [](AcDbLayerTableRecord* layer, int off) { layer->setIsOff(off != 0); }, chosen == "OFF");
    } else {
      co_await LayerColor(command);
    }
  }
}

void SetUcs(CommandContext& command, const AcGePoint3d& origin, const AcGeVector3d& x,
            const AcGeVector3d& y) {
  command.database()->setUcs(origin, x, y);
}

Task<void> UcsCommand(CommandContext& command) {
  Answer option = co_await command.getPoint(ucs_prompts::kOption, nullptr, kUcsOptions);
  AcDbDatabase* database = command.database();
  AcGeVector3d x = database->ucsxdir(), y = database->ucsydir();
  if (option.kind == AnswerKind::kPoint)
    co_return SetUcs(command, ToWorld(command, option.point), x, y);
  if (option.kind == AnswerKind::kReturn || option.text == "World")
    co_return SetUcs(command, AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis);
  Answer origin = co_await command.getPoint(ucs_prompts::kOrigin);
  AcGePoint3d worldOrigin =
      ToWorld(command, origin.kind == AnswerKind::kPoint ? origin.point : AcGePoint3d());
  if (option.text == "Origin") co_return SetUcs(command, worldOrigin, x, y);
  Answer onX = co_await command.getPoint(ucs_prompts::kXAxis, &origin.point,
                                         std::vector<std::string>(), RSG_NONULL);
  Answer onY = co_await command.getPoint(ucs_prompts::kYPlane, &origin.point,
                                         std::vector<std::string>(), RSG_NONULL);
  AcGeVector3d xAxis = (ToWorld(command, onX.point) - worldOrigin).normal();
  AcGeVector3d toY = ToWorld(command, onY.point) - worldOrigin;
  AcGeVector3d yAxis = toY - xAxis * toY.dotProduct(xAxis);
  if (xAxis.isZeroLength() || yAxis.isZeroLength()) throw CommandError(ucs_prompts::kNotAPlane);
  SetUcs(command, worldOrigin, xAxis, yAxis.normal());
}

Task<void> SetVarCommand(CommandContext& command) {
  std::string name = command.variable();
  if (name.empty()) {
    Answer typed = co_await command.getString(setvar_prompts::kName, false);
    name = typed.text;
    if (name.empty()) co_return;
  }
  std::optional<VariableValue> current = GetSystemVariable(name);
  if (!current) throw CommandError(Formatted(setvar_prompts::kUnknown, name));
  std::string upper = GlobalCommandName(name);
  std::string shown = VariableText(*current);
  if (IsReadOnlyVariable(upper)) {
    Transcript::instance().write(Filled(setvar_prompts::kReadOnly, upper, shown));
    co_return;
  }
  Answer answer = co_await command.getString(Filled(setvar_prompts::kValue, upper, shown), true);
  if (answer.text.empty()) co_return;
  std::optional<VariableValue> value = ParseVariableValue(upper, answer.text);
  std::string refused = value ? SetSystemVariable(upper, *value) : "wrong value type";
  if (!refused.empty()) Transcript::instance().write(Formatted(setvar_prompts::kRejected, refused));
}

Task<void> RedrawCommand(CommandContext&) {
  // The picture is drawn from the drawing when it is saved; there is nothing to refresh.
  co_return;
}

}  // namespace

void AddSettingCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"-LAYER", LayerCommand});
  commands.push_back({"UCS", UcsCommand});
  commands.push_back({"SETVAR", SetVarCommand, false});
  commands.push_back({"REDRAW", RedrawCommand, false});
}

}  // namespace tessera::editor
