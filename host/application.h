// Loading and unloading the application: the reactor set and the record classes.
#pragma once

namespace area {

// Registers as aware of multiple documents, installs the reactors of the current document and
// registers the record classes.
void InitApplication(void* appId);
// Removes every reactor, then deletes the record classes.
void UnloadApplication();

}  // namespace area
