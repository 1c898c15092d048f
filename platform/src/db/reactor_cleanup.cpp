#include "db/reactor_cleanup.h"

#include <dlfcn.h>

#include <algorithm>

#include "cad/arx.h"
#include "db/database_impl.h"
#include "db/live_databases.h"
#include "db/object_access.h"

namespace tessera::db {
namespace {

// A polymorphic object's first word is its class's table of virtual functions, which lives in
// the library that defines the class.
bool DefinedIn(const void* object, const void* libraryBase) {
  const void* table = *static_cast<const void* const*>(object);
  Dl_info info{};
  return dladdr(table, &info) != 0 && info.dli_fbase == libraryBase;
}

template <typename Reactor>
int RemoveFrom(std::vector<Reactor*>& reactors, const void* libraryBase) {
  auto doomed = std::remove_if(reactors.begin(), reactors.end(),
                               [&](Reactor* r) { return DefinedIn(r, libraryBase); });
  int count = static_cast<int>(reactors.end() - doomed);
  reactors.erase(doomed, reactors.end());
  return count;
}

int RemoveFromDatabase(AcDbDatabase* database, const void* libraryBase) {
  DatabaseImpl* impl = Impl(database);
  int removed = 0;
  for (AcDbDatabaseReactor* reactor : impl->reactors())
    if (DefinedIn(reactor, libraryBase)) {
      impl->removeReactor(reactor);
      ++removed;
    }
  impl->forEachObject([&](AcDbObjectId id) {
    if (auto* reactors = ObjectAccess::reactorsToChange(id.stub()->object))
      removed += RemoveFrom(*reactors, libraryBase);
  });
  return removed;
}

}  // namespace

int RemoveReactorsOfLibrary(const void* libraryBase) {
  if (libraryBase == nullptr) return 0;
  int removed = 0;
  for (AcDbDatabase* database : LiveDatabases())
    removed += RemoveFromDatabase(database, libraryBase);
  for (AcEditorReactor* reactor : acedEditor->reactors())
    if (DefinedIn(reactor, libraryBase)) {
      acedEditor->removeReactor(reactor);
      ++removed;
    }
  AcApDocManager* manager = acDocManagerPtr();
  for (AcApDocManagerReactor* reactor : manager->reactors())
    if (DefinedIn(reactor, libraryBase)) {
      manager->removeReactor(reactor);
      ++removed;
    }
  return removed;
}

}  // namespace tessera::db
