// The linkage's reactors: the database reactor that classifies every changed figure entity and
// dispatches it to its shape's handler, the editor reactor that tells stretch commands apart, the
// copy reactor, and the per-document sets that the reactor manager installs and removes.
#pragma once

#include "cad/arx.h"

namespace area {

// 1 while a command named exactly "GRIP_STRETCH" or "STRETCH" runs, else 0; shared by all
// documents.
extern int g_nStretch;

inline constexpr const char* kGripStretchCommand = "GRIP_STRETCH";
inline constexpr const char* kStretchCommand = "STRETCH";

// Linkage modes of AreaReact: not armed (or busy inside a handler), armed, and an auxiliary
// line or arc opened and waiting for its modified notification.
inline constexpr int kModeIdle = 0;
inline constexpr int kModeArmed = 1;
inline constexpr int kModeAuxiliaryOpen = 2;

class AreaReact : public AcDbDatabaseReactor {
 public:
  AreaReact();
  void objectOpenedForModify(const AcDbDatabase* database, const AcDbObject* object) override;
  void objectModified(const AcDbDatabase* database, const AcDbObject* object) override;
  void objectErased(const AcDbDatabase* database, const AcDbObject* object,
                    bool erased = true) override;

  int mode() const { return m_nMode; }
  int pendingEvent() const { return m_nFlag; }

 private:
  // A protected auxiliary entity's saved geometry is for that entity alone.
  enum class SavedKind { kNone, kLine, kArc };

  void checkRoles(const AcDbObject* object, int firstKind, int lastKind);
  void callModifyHandlers();
  void takeOutlineSnapshot(const AcDbObject* object);
  void saveAuxiliary(const AcDbDatabase* database, const AcDbObject* object);
  void restoreAuxiliary(const AcDbDatabase* database, const AcDbObject* object);
  void modifiedPolyline(const AcDbObject* object);
  void modifiedArc(const AcDbDatabase* database, const AcDbObject* object);
  void modifiedCircle(const AcDbObject* object);
  void modifiedSequenceEnd();

  int m_nFlag = 0;
  AcDbHandle m_handle;
  AcGePoint3dArray m_ptsOutline;
  int m_nMode = kModeIdle;
  AcGePoint3d m_ptS;
  AcGePoint3d m_ptE;
  AcGePoint3d m_ptArcCenter;
  double m_dArcRadius = 0.0;
  double m_dArcStartAngle = 0.0;
  double m_dArcEndAngle = 0.0;
  SavedKind m_savedKind = SavedKind::kNone;
  AcDbHandle m_savedHandle;
};

class AreaReactCmd : public AcEditorReactor {
 public:
  void commandWillStart(const char* globalCommandName) override;
  void commandEnded(const char* globalCommandName) override;
  void commandCancelled(const char* globalCommandName) override;
  // A failed stretch ends the stretch too: otherwise every later edit would act as a stretch.
  void commandFailed(const char* globalCommandName) override;
};

// Completes copied figures as objects are appended.
class ZebAreaCopiedReact : public AcDbDatabaseReactor {
 public:
  void objectAppended(const AcDbDatabase* database, const AcDbObject* object) override;
};

class ZebAreaDocReactor : public AcApDocManagerReactor {
 public:
  void documentCreated(AcApDocument* document) override;
  void documentToBeDestroyed(AcApDocument* document) override;
  void documentToBeActivated(AcApDocument* document) override;
  bool m_registered = false;
};

// Application load and unload: the manager with its document reactor and one reactor set per
// document.
void CreateAreaReactorManager();
void DestroyAreaReactorManager();

// The AreaReact of a document's set, or null; for tests and tools.
AreaReact* AreaReactOf(const AcApDocument* document);
int AreaReactorSetCount();

}  // namespace area
