// The database reactor of the linkage: classification of changed entities, dispatch to the shape
// handlers, and the protection of auxiliary lines and arcs during stretches.
#include "linkage/area_react.h"

#include <array>
#include <cstring>
#include <string>

#include "common/figure_entities.h"
#include "common/geometry.h"
#include "linkage/copy_completion.h"
#include "linkage/erase.h"
#include "linkage/figure_linkage.h"
#include "linkage/ini_check.h"
#include "records/figure_kinds.h"

namespace area {

int g_nStretch = 0;

namespace {

// Run-time class names the dispatch tells apart.
constexpr const char* kTriangleRecordClassName = "AreaDic_Triangle";
constexpr const char* kPolylineClassName = "AcDb2dPolyline";
constexpr const char* kLineClassName = "AcDbLine";
constexpr const char* kArcClassName = "AcDbArc";
constexpr const char* kCircleClassName = "AcDbCircle";
constexpr const char* kTextClassName = "AcDbText";
constexpr const char* kBlockReferenceClassName = "AcDbBlockReference";
constexpr const char* kSequenceEndClassName = "AcDbSequenceEnd";

// Kind indices of kFigureKinds, in check order.
constexpr int kTriangleIndex = 0;
constexpr int kTrapezoidIndex = 2;
constexpr int kSectorIndex = 3;
constexpr int kCircleIndex = 4;
constexpr int kLuneIndex = 5;
constexpr int kLastKindIndex = 5;

using ModifyHandler = void (*)(const AcDbHandle&, int&, const AcGePoint3dArray&);
constexpr std::array<ModifyHandler, 6> kModifyHandlers = {
    React_ModifyTriangle, React_ModifyRectangle, React_ModifyTrapezoid,
    React_ModifySector,   React_ModifyCircle,    React_ModifyLune};

using EraseHandler = void (*)(const AcDbObject*, bool);
constexpr std::array<EraseHandler, 6> kEraseHandlers = {React_EraseTriangle,  React_EraseRectangle,
                                                        React_EraseTrapezoid, React_EraseSector,
                                                        React_EraseCircle,    React_EraseLune};

bool HasXData(const AcDbObject* object, const char* application) {
  resbuf* xdata = object->xData(application);
  acutRelRb(xdata);
  return xdata != nullptr;
}

bool IsClass(const AcDbObject* object, const char* name) {
  return std::strcmp(object->isA()->name(), name) == 0;
}

bool IsStretchName(const char* name) {
  return name != nullptr &&
         (std::strcmp(name, kGripStretchCommand) == 0 || std::strcmp(name, kStretchCommand) == 0);
}

// Whether the command running in the document of `database` is a stretch.
bool StretchRunsIn(const AcDbDatabase* database) {
  const AcApDocument* document = acDocManagerPtr()->document(database);
  char* command = nullptr;
  if (document == nullptr || acedGetCommandForDocument(document, command) != Acad::eOk)
    return false;
  const bool stretching = IsStretchName(command);
  acutDelBuffer(command);
  return stretching;
}

// The role of an entity under the first of the six application names it carries.
std::string FirstFigureRole(const AcDbObject* object) {
  for (const FigureKindInfo& kind : kFigureKinds)
    if (HasXData(object, kind.application)) return FigureRole(object, kind.application);
  return {};
}

int EventRole(const std::string& role) {
  if (role == kRoleOutline) return kEventRoleOutline;
  if (role == kRoleValue) return kEventRoleValueText;
  if (role == kRoleMark) return kEventRoleMark;
  return 0;
}

}  // namespace

AreaReact::AreaReact() : m_ptsOutline(0, 8) {}

void AreaReact::checkRoles(const AcDbObject* object, int firstKind, int lastKind) {
  for (int i = firstKind; i <= lastKind; ++i) {
    m_nFlag = 0;
    const FigureKindInfo& kind = kFigureKinds[static_cast<std::size_t>(i)];
    if (const int role = EventRole(FigureRole(object, kind.application)); role != 0) {
      m_nFlag = kind.eventCode(role);
      m_handle = object->objectId().handle();
      return;
    }
  }
}

void AreaReact::callModifyHandlers() {
  for (ModifyHandler handler : kModifyHandlers) handler(m_handle, m_nFlag, m_ptsOutline);
}

void AreaReact::takeOutlineSnapshot(const AcDbObject* object) {
  m_ptsOutline.setLogicalLength(0);
  const bool rectangle = HasXData(object, RectangleKindInfo().application);
  const char* application =
      rectangle ? RectangleKindInfo().application : TrapezoidKindInfo().application;
  if (FigureRole(object, application) != kRoleOutline) return;
  const auto* polyline = AcDb2dPolyline::cast(object);
  AcGePoint3dArray points;
  if (polyline != nullptr && PolylineVertices2d(polyline, points)) m_ptsOutline = points;
}

void AreaReact::saveAuxiliary(const AcDbDatabase* database, const AcDbObject* object) {
  if (FirstFigureRole(object) != kRoleAuxiliary) return;
  m_savedKind = SavedKind::kNone;
  if (StretchRunsIn(database)) {
    if (const auto* line = AcDbLine::cast(object)) {
      m_ptS = line->startPoint();
      m_ptE = line->endPoint();
      m_savedKind = SavedKind::kLine;
    } else if (const auto* arc = AcDbArc::cast(object)) {
      m_ptArcCenter = arc->center();
      m_dArcRadius = arc->radius();
      m_dArcStartAngle = arc->startAngle();
      m_dArcEndAngle = arc->endAngle();
      m_savedKind = SavedKind::kArc;
    }
    m_savedHandle = object->objectId().handle();
  }
  m_nMode = kModeAuxiliaryOpen;
}

// Puts the saved geometry back, onto the entity it was saved from only.
void AreaReact::restoreAuxiliary(const AcDbDatabase* database, const AcDbObject* object) {
  const bool same = m_savedKind != SavedKind::kNone && object->objectId().handle() == m_savedHandle;
  if (same && StretchRunsIn(database)) {
    auto* entity = const_cast<AcDbObject*>(object);
    if (entity->upgradeOpen() == Acad::eOk) {
      if (auto* line = AcDbLine::cast(entity); line && m_savedKind == SavedKind::kLine) {
        line->setStartPoint(m_ptS);
        line->setEndPoint(m_ptE);
      } else if (auto* arc = AcDbArc::cast(entity); arc && m_savedKind == SavedKind::kArc) {
        arc->setCenter(m_ptArcCenter);
        arc->setRadius(m_dArcRadius);
        arc->setStartAngle(m_dArcStartAngle);
        arc->setEndAngle(m_dArcEndAngle);
      }
    }
  }
  m_savedKind = SavedKind::kNone;
  m_nMode = kModeArmed;
}

void AreaReact::modifiedPolyline(const AcDbObject* object) {
  m_nMode = kModeIdle;
  checkRoles(object, kTriangleIndex, kTrapezoidIndex);
  // Older hosts have the final geometry only when the sequence end reports.
  if (CheckIniVersion() == 0) return;
  callModifyHandlers();
  m_nMode = kModeArmed;
}

void AreaReact::modifiedArc(const AcDbDatabase* database, const AcDbObject* object) {
  if (m_nMode == kModeAuxiliaryOpen) {
    restoreAuxiliary(database, object);
    return;
  }
  m_nMode = kModeIdle;
  checkRoles(object, kSectorIndex, kSectorIndex);
  if (m_nFlag == 0) checkRoles(object, kLuneIndex, kLuneIndex);
  const FigureKindInfo* kind = KindByEventCode(m_nFlag);
  if (kind == &SectorKindInfo()) React_ModifySector(m_handle, m_nFlag, m_ptsOutline);
  if (kind == &LuneKindInfo()) React_ModifyLune(m_handle, m_nFlag, m_ptsOutline);
  m_nMode = kModeArmed;
}

void AreaReact::modifiedCircle(const AcDbObject* object) {
  m_nMode = kModeIdle;
  checkRoles(object, kCircleIndex, kCircleIndex);
  React_ModifyCircle(m_handle, m_nFlag, m_ptsOutline);
  m_nMode = kModeArmed;
}

// The pending polyline event of an older host. Every outline event disarms the protection while
// its handler runs, or the handler's own edits of the rectangle's diagonals and the trapezoid's
// height line would be put back as if the user had stretched them.
void AreaReact::modifiedSequenceEnd() {
  const FigureKindInfo* kind = KindByEventCode(m_nFlag);
  if (kind != nullptr && m_nFlag == kind->eventCode(kEventRoleOutline)) m_nMode = kModeIdle;
  callModifyHandlers();
  m_nMode = kModeArmed;
}

void AreaReact::objectOpenedForModify(const AcDbDatabase* database, const AcDbObject* object) {
  if (object->isUndoing()) return;
  if (IsClass(object, kPolylineClassName)) takeOutlineSnapshot(object);
  if (m_nMode == kModeArmed && (IsClass(object, kLineClassName) || IsClass(object, kArcClassName)))
    saveAuxiliary(database, object);
}

void AreaReact::objectModified(const AcDbDatabase* database, const AcDbObject* object) {
  // Undo restores every entity the command changed, the handlers' work included, and its
  // notifications must not recompute from a half-restored figure.
  if (object->isUndoing()) return;
  if (IsClass(object, kTriangleRecordClassName)) {
    m_nFlag = 0;
  } else if (IsClass(object, kPolylineClassName)) {
    modifiedPolyline(object);
  } else if (IsClass(object, kLineClassName)) {
    if (m_nMode == kModeAuxiliaryOpen) restoreAuxiliary(database, object);
  } else if (IsClass(object, kArcClassName)) {
    modifiedArc(database, object);
  } else if (IsClass(object, kCircleClassName)) {
    modifiedCircle(object);
  } else if (IsClass(object, kTextClassName) || IsClass(object, kBlockReferenceClassName)) {
    checkRoles(object, kTriangleIndex, kLastKindIndex);
    callModifyHandlers();
  } else if (IsClass(object, kSequenceEndClassName)) {
    modifiedSequenceEnd();
  }
}

void AreaReact::objectErased(const AcDbDatabase* database, const AcDbObject* object, bool erased) {
  if (!erased || object->isUndoing() || !IsClass(object, kBlockReferenceClassName)) return;
  for (EraseHandler handler : kEraseHandlers) handler(object, erased);
}

void AreaReactCmd::commandWillStart(const char* globalCommandName) {
  if (IsStretchName(globalCommandName)) g_nStretch = 1;
}

void AreaReactCmd::commandEnded(const char* globalCommandName) {
  if (IsStretchName(globalCommandName)) g_nStretch = 0;
}

void AreaReactCmd::commandCancelled(const char* globalCommandName) {
  if (IsStretchName(globalCommandName)) g_nStretch = 0;
}

void AreaReactCmd::commandFailed(const char* globalCommandName) {
  if (IsStretchName(globalCommandName)) g_nStretch = 0;
}

void ZebAreaCopiedReact::objectAppended(const AcDbDatabase* database, const AcDbObject* object) {
  CompleteCopiedFigure(object);
}

}  // namespace area
