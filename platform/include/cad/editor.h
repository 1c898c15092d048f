// The editor and the documents: command notifications, open drawings, and the reactors that
// follow them.
#pragma once

#include <string>
#include <vector>

#include "cad/db_database.h"
#include "cad/rx.h"

// A transient observer of the command line.
class AcEditorReactor : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcEditorReactor)
  virtual void commandWillStart(const char* globalCommandName) {}
  virtual void commandEnded(const char* globalCommandName) {}
  virtual void commandCancelled(const char* globalCommandName) {}
  virtual void commandFailed(const char* globalCommandName) {}
  virtual void lispWillStart(const char* firstLine) {}
  virtual void lispEnded() {}
  virtual void lispCancelled() {}
};

// The editor: registered in the system registry as "AcEditor".
class AcEditor : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcEditor)
  void addReactor(AcEditorReactor* reactor);
  void removeReactor(AcEditorReactor* reactor);
  // A snapshot, so that a reactor may remove itself while being notified.
  std::vector<AcEditorReactor*> reactors() const { return m_reactors; }
  bool hasReactor(const AcEditorReactor* reactor) const;

 private:
  std::vector<AcEditorReactor*> m_reactors;
};

extern AcEditor* acedEditor;

// One open drawing.
class AcApDocument : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcApDocument)
  AcDbDatabase* database() const { return m_database; }
  const char* fileName() const { return m_fileName.c_str(); }
  const char* docTitle() const { return m_title.c_str(); }

  void setDatabase(AcDbDatabase* database) { m_database = database; }
  void setFileName(const std::string& name) { m_fileName = name; }
  void setTitle(const std::string& title) { m_title = title; }
  // The global name of the command running in this document ("" when none).
  std::string currentCommand() const { return m_commands.empty() ? "" : m_commands.back(); }
  void pushCommand(const std::string& name) { m_commands.push_back(name); }
  void popCommand() {
    if (!m_commands.empty()) m_commands.pop_back();
  }

 private:
  AcDbDatabase* m_database = nullptr;
  std::string m_fileName;
  std::string m_title;
  std::vector<std::string> m_commands;
};

class AcApDocManagerReactor : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcApDocManagerReactor)
  virtual void documentCreateStarted(AcApDocument* document) {}
  virtual void documentCreated(AcApDocument* document) {}
  virtual void documentToBeDestroyed(AcApDocument* document) {}
  virtual void documentDestroyed(const char* fileName) {}
  virtual void documentToBeActivated(AcApDocument* document) {}
  virtual void documentActivated(AcApDocument* document) {}
  virtual void documentBecameCurrent(AcApDocument* document) {}
};

class AcApDocManager : public AcRxObject {
 public:
  CAD_DECLARE_MEMBERS(AcApDocManager)
  AcApDocument* curDocument() const { return m_current; }
  AcApDocument* mdiActiveDocument() const { return m_current; }
  AcApDocument* document(const AcDbDatabase* database) const;
  int documentCount() const { return static_cast<int>(m_documents.size()); }
  std::vector<AcApDocument*> documents() const { return m_documents; }
  void addReactor(AcApDocManagerReactor* reactor);
  void removeReactor(AcApDocManagerReactor* reactor);
  bool hasReactor(const AcApDocManagerReactor* reactor) const;
  std::vector<AcApDocManagerReactor*> reactors() const { return m_reactors; }

  // The platform's side: documents come and go as drawings are made, opened and closed.
  // The document takes ownership of the database.
  AcApDocument* addDocument(AcDbDatabase* database, const std::string& fileName);
  void activateDocument(AcApDocument* document);
  void destroyDocument(AcApDocument* document);
  // Makes a document current while the platform sends an application a message for it, without
  // the activation notices of a user's switch; the one that was current before is returned.
  AcApDocument* setCurDocumentForMessage(AcApDocument* document);

 private:
  std::vector<AcApDocument*> m_documents;
  std::vector<AcApDocManagerReactor*> m_reactors;
  AcApDocument* m_current = nullptr;
};

AcApDocManager* acDocManagerPtr();

// The global name of the command running in a document; the caller frees it with acutDelBuffer.
Acad::ErrorStatus acedGetCommandForDocument(const AcApDocument* document, char*& globalCmdName);

bool acrxRegisterAppMDIAware(void* appId);
bool acrxUnlockApplication(void* appId);
