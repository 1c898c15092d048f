// The reactor manager: one set of linkage reactors per document, installed when the document is
// created or activated and removed when it goes, and the document reactor that drives both.
#include <memory>

#include "linkage/area_react.h"

namespace area {
namespace {

// The reactors of one document, each owned by the set.
struct AreaReactorSet {
  AcApDocument* document = nullptr;
  AreaReactorSet* next = nullptr;
  std::unique_ptr<AreaReact> areaReact;
  std::unique_ptr<AreaReactCmd> commandReact;
  std::unique_ptr<ZebAreaCopiedReact> copiedReact;
  AcDbDatabase* database = nullptr;
};

struct AreaReactorManager {
  AreaReactorSet* head = nullptr;
  AreaReactorSet* touched = nullptr;
  std::unique_ptr<ZebAreaDocReactor> documentReactor;
};

std::unique_ptr<AreaReactorManager>& Manager() {
  static std::unique_ptr<AreaReactorManager> manager;
  return manager;
}

// The editor, as the system registry holds it; null when it is not of the editor's class.
AcEditor* Editor() {
  return AcEditor::cast(acrxSysRegistry()->at("AcEditor"));
}

AreaReactorSet* FindSet(const AcApDocument* document) {
  if (!Manager()) return nullptr;
  for (AreaReactorSet* set = Manager()->head; set != nullptr; set = set->next)
    if (set->document == document) return set;
  return nullptr;
}

void InstallFor(AcApDocument* document) {
  AreaReactorManager* manager = Manager().get();
  if (manager == nullptr || document == nullptr) return;
  if (AreaReactorSet* existing = FindSet(document)) {
    manager->touched = existing;
    return;
  }
  auto* set = new AreaReactorSet;
  set->document = document;
  AreaReactorSet** tail = &manager->head;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = set;
  set->database = acdbHostApplicationServices()->workingDatabase();
  set->areaReact = std::make_unique<AreaReact>();
  if (set->database != nullptr) set->database->addReactor(set->areaReact.get());
  set->commandReact = std::make_unique<AreaReactCmd>();
  if (AcEditor* editor = Editor()) editor->addReactor(set->commandReact.get());
  set->copiedReact = std::make_unique<ZebAreaCopiedReact>();
  if (set->database != nullptr) set->database->addReactor(set->copiedReact.get());
  manager->touched = set;
}

void RemoveReactors(AreaReactorSet* set) {
  if (set->database != nullptr) set->database->removeReactor(set->areaReact.get());
  if (AcEditor* editor = Editor()) editor->removeReactor(set->commandReact.get());
  if (set->database != nullptr) set->database->removeReactor(set->copiedReact.get());
}

void DropFor(AcApDocument* document) {
  AreaReactorManager* manager = Manager().get();
  if (manager == nullptr) return;
  for (AreaReactorSet** link = &manager->head; *link != nullptr; link = &(*link)->next) {
    AreaReactorSet* set = *link;
    if (set->document != document) continue;
    *link = set->next;
    if (manager->touched == set) manager->touched = manager->head;
    RemoveReactors(set);
    delete set;
    return;
  }
}

}  // namespace

void ZebAreaDocReactor::documentCreated(AcApDocument* document) {
  InstallFor(document);
}

void ZebAreaDocReactor::documentToBeDestroyed(AcApDocument* document) {
  DropFor(document);
}

void ZebAreaDocReactor::documentToBeActivated(AcApDocument* document) {
  InstallFor(document);
}

void CreateAreaReactorManager() {
  if (Manager()) return;
  Manager() = std::make_unique<AreaReactorManager>();
  Manager()->documentReactor = std::make_unique<ZebAreaDocReactor>();
  acDocManagerPtr()->addReactor(Manager()->documentReactor.get());
  Manager()->documentReactor->m_registered = true;
  InstallFor(acDocManagerPtr()->curDocument());
}

void DestroyAreaReactorManager() {
  std::unique_ptr<AreaReactorManager> manager = std::move(Manager());
  if (!manager) return;
  acDocManagerPtr()->removeReactor(manager->documentReactor.get());
  manager->documentReactor->m_registered = false;
  std::vector<AreaReactorSet*> sets;
  for (AreaReactorSet* set = manager->head; set != nullptr; set = set->next) sets.push_back(set);
  for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
    RemoveReactors(*set);
    delete *set;
  }
  g_nStretch = 0;
}

AreaReact* AreaReactOf(const AcApDocument* document) {
  AreaReactorSet* set = FindSet(document);
  return set != nullptr ? set->areaReact.get() : nullptr;
}

int AreaReactorSetCount() {
  int count = 0;
  if (Manager())
    for (AreaReactorSet* set = Manager()->head; set != nullptr; set = set->next) ++count;
  return count;
}

}  // namespace area
