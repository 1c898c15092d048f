// The eight record classes as the host registers them, and how each class finds its
// descriptor. host/record_classes.cpp registers them in this order.
#pragma once

#include <span>

#include "cad/arx.h"

namespace area {

// The application name under which every record class is registered.
inline constexpr const char* kRecordApplicationName = "Tessera Area Dictionary";
inline constexpr const char* kRecordParentClass = "AcDbObject";
inline constexpr int kRecordDwgVersion = 27;
inline constexpr int kRecordMaintenanceVersion = 1;
inline constexpr int kRecordProxyFlags = 0;

// Registration order.
enum RecordClassIndex {
  kTriangleClass,
  kRectangleClass,
  kTrapezoidClass,
  kSectorClass,
  kCircleClass,
  kLuneClass,
  kSTableClass,
  kTableClass,
  kRecordClassCount
};

struct RecordClassEntry {
  const char* className;
  const char* dxfName;
  AcRxPseudoConstructor create;
};

// The eight classes in registration order.
std::span<const RecordClassEntry> RecordClassEntries();

// The registered descriptor of a record class, looked up by name in the class dictionary the
// first time it is needed and kept; null while the class is not registered.
AcRxClass* RecordClassDescriptor(RecordClassIndex index);
// Drops the kept descriptors, for when the classes are deleted: a later registration makes new
// descriptors, which must be looked up afresh.
void ForgetRecordClassDescriptors();

}  // namespace area
