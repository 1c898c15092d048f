// Before an application's library leaves the process, every reactor whose code lives in it is
// taken off whatever it was attached to, so that no notification reaches unloaded code.
#pragma once

namespace tessera::db {

// `libraryBase` is the load address of the library (dladdr's dli_fbase of any of its symbols).
// Returns how many reactors were removed.
int RemoveReactorsOfLibrary(const void* libraryBase);

}  // namespace tessera::db
