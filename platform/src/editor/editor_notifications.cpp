// Editor notifications to the reactors of the editor object.
#include "cad/editor.h"
#include "editor/command_runner.h"

namespace tessera::editor {

void NotifyEditorReactors(void (AcEditorReactor::*notification)(const char*), const char* name) {
  // A reactor removed by an earlier one in the same walk is not called.
  for (AcEditorReactor* reactor : acedEditor->reactors())
    if (acedEditor->hasReactor(reactor)) (reactor->*notification)(name);
}

}  // namespace tessera::editor
