#include "db/notify.h"

#include <vector>

#include "db/database_impl.h"
#include "db/object_access.h"

namespace tessera::db {
namespace {

template <typename Call>
void ToDatabaseReactors(const AcDbObject* object, Call call) {
  AcDbDatabase* database = object->database();
  DatabaseImpl* impl = Impl(database);
  if (impl == nullptr || impl->loading) return;
  for (AcDbDatabaseReactor* reactor : impl->reactors())
    if (impl->hasReactor(reactor)) call(reactor, database);
}

template <typename Call>
void ToObjectReactors(const AcDbObject* object, Call call) {
  DatabaseImpl* impl = Impl(object->database());
  if (impl != nullptr && impl->loading) return;
  if (object->reactorCount() == 0) return;
  std::vector<AcDbObjectReactor*> snapshot = ObjectAccess::reactors(object);
  for (AcDbObjectReactor* reactor : snapshot)
    if (object->hasReactor(reactor)) call(reactor);
}

}  // namespace

void NotifyAppended(const AcDbObject* object) {
  ToDatabaseReactors(
      object, [&](AcDbDatabaseReactor* r, AcDbDatabase* db) { r->objectAppended(db, object); });
}

void NotifyOpenedForModify(const AcDbObject* object) {
  ToDatabaseReactors(object, [&](AcDbDatabaseReactor* r, AcDbDatabase* db) {
    r->objectOpenedForModify(db, object);
  });
  ToObjectReactors(object, [&](AcDbObjectReactor* r) { r->openedForModify(object); });
}

void NotifyModified(const AcDbObject* object) {
  ToDatabaseReactors(
      object, [&](AcDbDatabaseReactor* r, AcDbDatabase* db) { r->objectModified(db, object); });
  ToObjectReactors(object, [&](AcDbObjectReactor* r) { r->modified(object); });
}

void NotifyErased(const AcDbObject* object, bool erasing) {
  ToDatabaseReactors(object, [&](AcDbDatabaseReactor* r, AcDbDatabase* db) {
    r->objectErased(db, object, erasing);
  });
  ToObjectReactors(object, [&](AcDbObjectReactor* r) { r->erased(object, erasing); });
}

void NotifyCopied(const AcDbObject* source, const AcDbObject* copy) {
  ToObjectReactors(source, [&](AcDbObjectReactor* r) { r->copied(source, copy); });
}

}  // namespace tessera::db
