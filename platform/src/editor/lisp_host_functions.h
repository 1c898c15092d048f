// The host's functions in every drawing's LISP: command, getvar, setvar, entlast, entnext,
// handent, entget, ssget, sslength, ssname, arxload and arxunload; and entity names printed as
// <Entity name: HANDLE>.
#pragma once

#include "lisp/interpreter.h"

namespace tessera::editor {

void InstallHostFunctions(lisp::Interpreter& interpreter);

// The entity's group list as entget gives it, with the extended data of the applications that
// match the patterns after a -3 group; null when the entity does not open.
resbuf* EntityGroupList(const ads_name entity, const std::vector<std::string>& applications);

}  // namespace tessera::editor
