#include "records/mark_reactor.h"

#include <list>
#include <map>
#include <memory>
#include <set>

namespace area {

namespace {

struct CopyPair {
  AcDbObjectId source;
  AcDbObjectId copy;
};

// Shared by every open drawing; lives as long as the application.
std::list<CopyPair>& CopyPairs() {
  static std::list<CopyPair> pairs;
  return pairs;
}

}  // namespace

// One reactor per mark, kept here so that attaching twice finds the one already there, and so
// that every reactor is taken off its mark and freed before the application's code goes. The
// registry watches each drawing that has marks: when a drawing goes, its marks go with it.
class MarkReactorRegistry {
 public:
  static MarkReactorRegistry& instance() {
    static MarkReactorRegistry registry;
    return registry;
  }

  ~MarkReactorRegistry() { detachAll(); }

  // The mark's reactor, made on first use.
  ZebAreaObjNewReact* reactorFor(AcDbObjectId markId) {
    Entry& entry = m_entries[markId];
    if (!entry.reactor) {
      entry.reactor.reset(new ZebAreaObjNewReact);
      watch(markId.database());
    }
    return entry.reactor.get();
  }

  ZebAreaObjNewReact* find(AcDbObjectId markId) const {
    auto found = m_entries.find(markId);
    return found == m_entries.end() ? nullptr : found->second.reactor.get();
  }

  void detachAll() {
    for (auto& [markId, entry] : m_entries) {
      AcDbObject* mark = nullptr;
      if (acdbOpenAcDbObject(mark, markId, AcDb::kForRead, true) != Acad::eOk) continue;
      mark->removeReactor(entry.reactor.get());
      mark->close();
    }
    m_entries.clear();
    for (AcDbDatabase* database : m_watched) database->removeReactor(&m_watch);
    m_watched.clear();
  }

 private:
  struct Entry {
    std::unique_ptr<ZebAreaObjNewReact> reactor;
  };

  // Hears that a drawing goes, before its objects do.
  class DrawingWatch : public AcDbDatabaseReactor {
   public:
    void goodbye(const AcDbDatabase* database) override {
      MarkReactorRegistry::instance().forget(database);
    }
  };

  void watch(AcDbDatabase* database) {
    if (database == nullptr || !m_watched.insert(database).second) return;
    database->addReactor(&m_watch);
  }

  // The drawing's marks are about to be deleted with it; their reactors are no longer needed,
  // and its copy pairs go too, so that a stale id never matches a later drawing's copy.
  void forget(const AcDbDatabase* database) {
    std::erase_if(m_entries, [&](const auto& item) { return item.first.database() == database; });
    std::erase_if(CopyPairs(), [&](const CopyPair& pair) {
      return pair.source.database() == database || pair.copy.database() == database;
    });
    database->removeReactor(&m_watch);
    m_watched.erase(const_cast<AcDbDatabase*>(database));
  }

  std::map<AcDbObjectId, Entry> m_entries;
  std::set<AcDbDatabase*> m_watched;
  DrawingWatch m_watch;
};

void ZebAreaObjNewReact::copied(const AcDbObject* object, const AcDbObject* newObject) {
  if (object == nullptr || newObject == nullptr) return;
  CopyPairs().push_back({object->objectId(), newObject->objectId()});
}

void ZebAreaObjNewReact::erased(const AcDbObject* object, bool erasing) {
  if (object != nullptr) object->removeReactor(this);
}

bool AttachMarkReactor(const AcDbObject* mark) {
  if (mark == nullptr || mark->objectId().isNull() || mark->database() == nullptr) return false;
  mark->addReactor(MarkReactorRegistry::instance().reactorFor(mark->objectId()));
  return true;
}

bool HasMarkReactor(const AcDbObject* mark) {
  if (mark == nullptr) return false;
  ZebAreaObjNewReact* reactor = MarkReactorRegistry::instance().find(mark->objectId());
  return reactor != nullptr && mark->hasReactor(reactor);
}

void DetachMarkReactors() {
  MarkReactorRegistry::instance().detachAll();
}

AcDbObjectId TakeCopyPair(AcDbObjectId copyId) {
  std::list<CopyPair>& pairs = CopyPairs();
  for (auto pair = pairs.begin(); pair != pairs.end(); ++pair) {
    if (pair->copy != copyId) continue;
    AcDbObjectId source = pair->source;
    pairs.erase(pair);
    return source;
  }
  return AcDbObjectId();
}

bool HasCopyPairs() {
  return !CopyPairs().empty();
}

int CopyPairCount() {
  return static_cast<int>(CopyPairs().size());
}

void ClearCopyPairs() {
  CopyPairs().clear();
}

}  // namespace area
