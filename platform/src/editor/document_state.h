// What the editor keeps for each open drawing: its LISP interpreter (each drawing has its own
// LISP namespace), the functions applications defined there, and the host command that is
// waiting for input there.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "cad/editor.h"
#include "editor/command_runner.h"
#include "lisp/interpreter.h"

namespace tessera::editor {

// A function an application defined with acedDefun.
struct DefinedFunction {
  void* application = nullptr;
  short code = 0;
};

class DocumentState {
 public:
  explicit DocumentState(AcApDocument* document);
  DocumentState(const DocumentState&) = delete;
  DocumentState& operator=(const DocumentState&) = delete;

  AcApDocument* document() const { return m_document; }
  lisp::Interpreter& lisp() { return m_lisp; }
  CommandRunner& commands() { return m_commands; }
  // By upper-case name.
  std::map<std::string, DefinedFunction>& functions() { return m_functions; }

 private:
  AcApDocument* m_document;
  lisp::Interpreter m_lisp;
  CommandRunner m_commands;
  std::map<std::string, DefinedFunction> m_functions;
};

// The document the editor works in: the document manager's current one, unless the platform
// is sending a drawing message for another one.
AcApDocument* CurrentDocument();
DocumentState& StateOf(AcApDocument* document);
DocumentState& CurrentState();
// Drops the state of a document that is going away. Its interpreter may still be evaluating
// (a LISP call that closed the drawing), so it is released later, where nothing runs.
void ForgetDocument(AcApDocument* document);
void ReleaseForgottenDocuments();

// Makes a document current, for the editor and the document manager alike, and its database the
// working database, for as long as it lives (drawing messages are sent with each document
// current in turn).
class DocumentScope {
 public:
  explicit DocumentScope(AcApDocument* document);
  ~DocumentScope();
  DocumentScope(const DocumentScope&) = delete;
  DocumentScope& operator=(const DocumentScope&) = delete;

 private:
  AcApDocument* m_savedOverride;
  AcApDocument* m_savedCurrent = nullptr;
  bool m_madeCurrent = false;
  AcDbDatabase* m_savedWorking;
};

}  // namespace tessera::editor
