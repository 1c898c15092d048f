// The editor and the document manager.
#include <algorithm>
#include <cstring>

#include "cad/arx.h"
#include "db/rx_define.h"

CAD_DEFINE_ABSTRACT_MEMBERS(AcEditorReactor, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcEditor, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcApDocument, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcApDocManagerReactor, AcRxObject)
CAD_DEFINE_ABSTRACT_MEMBERS(AcApDocManager, AcRxObject)

namespace {

AcEditor* TheEditor() {
  static AcEditor* editor = [] {
    auto* made = new AcEditor;
    acrxSysRegistry()->atPut("AcEditor", made);
    return made;
  }();
  return editor;
}

// Enters the editor in the registry when the library is loaded.
const bool kEditorRegistered = (TheEditor(), true);

template <typename Reactor>
bool Has(const std::vector<Reactor*>& reactors, const Reactor* reactor) {
  return std::find(reactors.begin(), reactors.end(), reactor) != reactors.end();
}

}  // namespace

AcEditor* acedEditor = TheEditor();

void AcEditor::addReactor(AcEditorReactor* reactor) {
  if (reactor != nullptr && !hasReactor(reactor)) m_reactors.push_back(reactor);
}

void AcEditor::removeReactor(AcEditorReactor* reactor) {
  m_reactors.erase(std::remove(m_reactors.begin(), m_reactors.end(), reactor), m_reactors.end());
}

bool AcEditor::hasReactor(const AcEditorReactor* reactor) const {
  return Has(m_reactors, reactor);
}

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager manager;
  return &manager;
}

AcApDocument* AcApDocManager::document(const AcDbDatabase* database) const {
  for (AcApDocument* document : m_documents)
    if (document->database() == database) return document;
  return nullptr;
}

void AcApDocManager::addReactor(AcApDocManagerReactor* reactor) {
  if (reactor != nullptr && !hasReactor(reactor)) m_reactors.push_back(reactor);
}

void AcApDocManager::removeReactor(AcApDocManagerReactor* reactor) {
  m_reactors.erase(std::remove(m_reactors.begin(), m_reactors.end(), reactor), m_reactors.end());
}

bool AcApDocManager::hasReactor(const AcApDocManagerReactor* reactor) const {
  return Has(m_reactors, reactor);
}

namespace {

// Each reactor is asked whether it is still registered just before it is told.
template <typename Call>
void Tell(const AcApDocManager* manager, const std::vector<AcApDocManagerReactor*>& snapshot,
          Call call) {
  for (AcApDocManagerReactor* reactor : snapshot)
    if (manager->hasReactor(reactor)) call(reactor);
}

}  // namespace

// The new document's database is the working database while the reactors hear of it, so that
// what they install lands in it.
AcApDocument* AcApDocManager::addDocument(AcDbDatabase* database, const std::string& fileName) {
  auto* document = new AcApDocument;
  document->setDatabase(database);
  document->setFileName(fileName);
  document->setTitle(fileName.empty() ? "Drawing" + std::to_string(m_documents.size() + 1)
                                      : fileName);
  m_documents.push_back(document);
  m_current = document;
  acdbHostApplicationServices()->setWorkingDatabase(database);
  auto snapshot = m_reactors;
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentCreated(document); });
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentToBeActivated(document); });
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentActivated(document); });
  return document;
}

void AcApDocManager::activateDocument(AcApDocument* document) {
  if (document == nullptr || document == m_current || !Has(m_documents, document)) return;
  m_current = document;
  acdbHostApplicationServices()->setWorkingDatabase(document->database());
  auto snapshot = m_reactors;
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentToBeActivated(document); });
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentActivated(document); });
}

AcApDocument* AcApDocManager::setCurDocumentForMessage(AcApDocument* document) {
  AcApDocument* before = m_current;
  // A document closed meanwhile cannot come back; the one the close made current stays.
  if (document == nullptr || Has(m_documents, document)) m_current = document;
  return before;
}

void AcApDocManager::destroyDocument(AcApDocument* document) {
  if (document == nullptr || !Has(m_documents, document)) return;
  acdbHostApplicationServices()->setWorkingDatabase(document->database());
  auto snapshot = m_reactors;
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentToBeDestroyed(document); });
  m_documents.erase(std::find(m_documents.begin(), m_documents.end(), document));
  std::string fileName = document->fileName();
  delete document->database();
  delete document;
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  Tell(this, snapshot, [&](AcApDocManagerReactor* r) { r->documentDestroyed(fileName.c_str()); });
  m_current = nullptr;
  if (!m_documents.empty()) activateDocument(m_documents.back());
}

Acad::ErrorStatus acedGetCommandForDocument(const AcApDocument* document, char*& globalCmdName) {
  globalCmdName = nullptr;
  if (document == nullptr) return Acad::eInvalidInput;
  std::string name = document->currentCommand();
  globalCmdName = static_cast<char*>(std::malloc(name.size() + 1));
  if (globalCmdName == nullptr) return Acad::eOutOfMemory;
  std::memcpy(globalCmdName, name.c_str(), name.size() + 1);
  return Acad::eOk;
}

bool acrxRegisterAppMDIAware(void*) {
  return true;
}
bool acrxUnlockApplication(void*) {
  return true;
}
