// The host commands, one group per file; the command table is made of these groups.
#pragma once

#include <vector>

#include "editor/command_runner.h"

namespace tessera::editor {

// LINE, PLINE, 3DPOLY, CIRCLE, ARC, TEXT.
void AddDrawingCommands(std::vector<HostCommand>& commands);
// INSERT, -INSERT.
void AddInsertCommands(std::vector<HostCommand>& commands);
// ERASE, OOPS, MOVE, COPY, STRETCH, GRIP_STRETCH, and the annotation edits.
void AddEditCommands(std::vector<HostCommand>& commands);
// TEXTEDIT, -ATTEDIT.
void AddAnnotationEditCommands(std::vector<HostCommand>& commands);
// -LAYER, UCS, SETVAR (and variable names), REDRAW.
void AddSettingCommands(std::vector<HostCommand>& commands);
// UNDO, U.
void AddUndoCommands(std::vector<HostCommand>& commands);
// NEW, OPEN, SAVEAS, CLOSE, ARX.
void AddFileCommands(std::vector<HostCommand>& commands);

}  // namespace tessera::editor
