// Drawings and applications: NEW, OPEN, SAVEAS, CLOSE, ARX.
#include <vector>

#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "platform/search_path.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

namespace file_prompts {
constexpr const char* kOpenName = "\nEnter name of drawing to open: ";
constexpr const char* kSaveName = "\nSave drawing as <%s>: ";
}  // namespace file_prompts

namespace arx_prompts {
constexpr const char* kOption = "\nEnter an option [?/Load/Unload]: ";
constexpr const char* kLoadName = "\nEnter application file name to load: ";
constexpr const char* kUnloadName = "\nEnter application name to unload: ";
constexpr const char* kLoaded = "\n%s successfully loaded.";
constexpr const char* kUnloaded = "\n%s successfully unloaded.";
constexpr const char* kListed = "\nLoaded applications: %s";
}  // namespace arx_prompts

const std::vector<std::string> kArxOptions = {"?", "Load", "Unload"};

Task<void> NewCommand(CommandContext&) {
  std::string error;
  if (NewDrawing(error) == nullptr) throw CommandError(error);
  co_return;
}

Task<void> OpenCommand(CommandContext& command) {
  Answer name = co_await command.getString(file_prompts::kOpenName, true);
  if (name.text.empty()) co_return;
  std::string path = FindSupportFile(name.text).value_or(name.text);
  std::string error;
  if (OpenDrawing(path, error) == nullptr) throw CommandError(error);
}

Task<void> SaveAsCommand(CommandContext& command) {
  std::string current = command.document() ? command.document()->fileName() : "";
  Answer name = co_await command.getString(Formatted(file_prompts::kSaveName, current), true);
  std::string path = name.text.empty() ? current : name.text;
  if (path.empty()) co_return;
  std::string error;
  if (!SaveDrawing(command.database(), path, error)) throw CommandError(error);
  if (command.document()) command.document()->setFileName(path);
  command.database()->setFilename(path);
}

Task<void> CloseCommand(CommandContext& command) {
  // Nothing of the drawing may be touched after this: it is gone.
  if (command.document()) CloseDrawing(command.document());
  co_return;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

Task<void> ArxCommand(CommandContext& command) {
  Answer option = co_await command.getKeyword(arx_prompts::kOption, kArxOptions);
  if (option.kind != AnswerKind::kKeyword) co_return;
  if (option.text == "?") {
    Transcript::instance().write(Formatted(arx_prompts::kListed, Listed(LoadedApplications())));
    co_return;
  }
  bool load = option.text == "Load";
  Answer name =
      co_await command.getString(load ? arx_prompts::kLoadName : arx_prompts::kUnloadName, true);
  if (name.text.empty()) co_return;
  std::string error;
  if (!(load ? LoadApplication(name.text, error) : UnloadApplication(name.text, error)))
    throw CommandError(error);
  Transcript::instance().write(
      Formatted(load ? arx_prompts::kLoaded : arx_prompts::kUnloaded, name.text));
}

}  // namespace

void AddFileCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"NEW", NewCommand, false});
  commands.push_back({"OPEN", OpenCommand, false});
  commands.push_back({"SAVEAS", SaveAsCommand, false});
  commands.push_back({"CLOSE", CloseCommand, false});
  commands.push_back({"ARX", ArxCommand, false});
}

}  // namespace tessera::editor
