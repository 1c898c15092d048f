// UNDO (numbers, BEgin/Group, End, Mark, Back) and U. Neither is an undo step of its own.
#include <vector>

#include "db/database_impl.h"
#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

namespace undo_prompts {
constexpr const char* kOption =
    "\nEnter the number of operations to undo or [Auto/Control/BEgin/End/Mark/Back] <1>: ";
constexpr const char* kAuto = "\nEnter UNDO Auto mode [ON/OFF] <On>: ";
constexpr const char* kControl =
    "\nEnter an UNDO control option [All/None/One/Combine/Layer] <All>: ";
constexpr const char* kNothingToUndo = "\nEverything has been undone";
}  // namespace undo_prompts

const std::vector<std::string> kUndoOptions = {"Auto", "Control", "BEgin", "End",
                                               "Mark", "Back",    "Group"};
const std::vector<std::string> kOnOff = {"ON", "OFF"};
const std::vector<std::string> kControlOptions = {"All", "None", "One", "Combine", "Layer"};

db::UndoLog* LogOf(CommandContext& command) {
  db::DatabaseImpl* impl = db::Impl(command.database());
  return impl ? &impl->undo() : nullptr;
}

void UndoSteps(db::UndoLog& log, int steps) {
  if (log.undo(steps) < steps) Transcript::instance().write(undo_prompts::kNothingToUndo);
}

Task<void> UndoCommand(CommandContext& command) {
  Answer option = co_await command.getInteger(undo_prompts::kOption, kUndoOptions);
  db::UndoLog* log = LogOf(command);
  if (log == nullptr) co_return;
  if (option.kind == AnswerKind::kReturn) co_return UndoSteps(*log, 1);
  if (option.kind == AnswerKind::kInteger) {
    if (option.integer > 0) UndoSteps(*log, option.integer);
    co_return;
  }
  const std::string& chosen = option.text;
  if (chosen == "BEgin" || chosen == "Group") {
    log->beginGroup();
  } else if (chosen == "End") {
    log->endGroup();
  } else if (chosen == "Mark") {
    log->mark();
  } else if (chosen == "Back") {
    log->undoToMark();
  } else if (chosen == "Auto") {
    co_await command.getKeyword(undo_prompts::kAuto, kOnOff);
  } else {
    co_await command.getKeyword(undo_prompts::kControl, kControlOptions);
  }
}

Task<void> UCommand(CommandContext& command) {
  if (db::UndoLog* log = LogOf(command)) UndoSteps(*log, 1);
  co_return;
}

}  // namespace

void AddUndoCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"UNDO", UndoCommand, false});
  commands.push_back({"U", UCommand, false});
}

}  // namespace tessera::editor
