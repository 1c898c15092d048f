// The editor's state per open drawing, made on first use and dropped when the drawing closes.
#include "editor/document_state.h"

#include <new>
#include <string_view>

#include "cad/arx.h"
#include "editor/lisp_host_functions.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

AcApDocument*& Override() {
  static AcApDocument* document = nullptr;
  return document;
}

std::map<AcApDocument*, std::unique_ptr<DocumentState>>& States() {
  static std::map<AcApDocument*, std::unique_ptr<DocumentState>> states;
  return states;
}

// States of closed drawings wait here until nothing runs in them any more.
std::vector<std::unique_ptr<DocumentState>>& Forgotten() {
  static std::vector<std::unique_ptr<DocumentState>> states;
  return states;
}

class ClosingDocumentWatcher : public AcApDocManagerReactor {
 public:
  void documentToBeDestroyed(AcApDocument* document) override { ForgetDocument(document); }
};

// The watcher lives in static storage and is never destroyed: the document manager may still
// notify it while the program exits.
void WatchClosingDocuments() {
  alignas(ClosingDocumentWatcher) static unsigned char storage[sizeof(ClosingDocumentWatcher)];
  static bool watching = [] {
    acDocManagerPtr()->addReactor(new (storage) ClosingDocumentWatcher);
    return true;
  }();
  (void)watching;
}

}  // namespace

DocumentState::DocumentState(AcApDocument* document) : m_document(document), m_commands(document) {
  m_lisp.setOutput([](std::string_view text) { Transcript::instance().write(std::string(text)); });
  InstallHostFunctions(m_lisp);
}

AcApDocument* CurrentDocument() {
  if (Override() != nullptr) return Override();
  return acDocManagerPtr()->curDocument();
}

DocumentState& StateOf(AcApDocument* document) {
  WatchClosingDocuments();
  std::unique_ptr<DocumentState>& state = States()[document];
  if (!state) state = std::make_unique<DocumentState>(document);
  return *state;
}

DocumentState& CurrentState() {
  return StateOf(CurrentDocument());
}

void ForgetDocument(AcApDocument* document) {
  auto found = States().find(document);
  if (found == States().end()) return;
  Forgotten().push_back(std::move(found->second));
  States().erase(found);
}

void ReleaseForgottenDocuments() {
  Forgotten().clear();
}

DocumentScope::DocumentScope(AcApDocument* document)
    : m_savedOverride(Override()),
      m_savedWorking(acdbHostApplicationServices()->workingDatabase()) {
  Override() = document;
  if (document == nullptr) return;
  m_savedCurrent = acDocManagerPtr()->setCurDocumentForMessage(document);
  m_madeCurrent = true;
  acdbHostApplicationServices()->setWorkingDatabase(document->database());
}

DocumentScope::~DocumentScope() {
  Override() = m_savedOverride;
  if (m_madeCurrent) acDocManagerPtr()->setCurDocumentForMessage(m_savedCurrent);
  acdbHostApplicationServices()->setWorkingDatabase(m_savedWorking);
}

}  // namespace tessera::editor
