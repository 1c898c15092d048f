// Registration of the record classes with the host.
#include "host/record_classes.h"

#include <array>

#include "cad/arx.h"
#include "records/class_table.h"

namespace area {
namespace {

constexpr const char* kClassMismatchMessage = "Class mismatch";

// The descriptors this application made, by RecordClassIndex; empty before load.
std::array<AcRxClass*, kRecordClassCount>& OwnDescriptors() {
  static std::array<AcRxClass*, kRecordClassCount> descriptors{};
  return descriptors;
}

// A class still registered from an earlier load is kept; a class of the same name that another
// module registered means two definitions would fight over one name, which cannot go on.
void RegisterClass(int index, const RecordClassEntry& entry) {
  AcRxClass*& own = OwnDescriptors()[index];
  if (own != nullptr) {
    AcRxObject* registered = acrxClassDictionary()->at(entry.className);
    if (registered == own) return;
    if (registered != nullptr) acrx_abort(kClassMismatchMessage);
  }
  own = newAcRxClass(entry.className, kRecordParentClass, kRecordDwgVersion,
                     kRecordMaintenanceVersion, kRecordProxyFlags, entry.create, entry.dxfName,
                     kRecordApplicationName);
}

}  // namespace

void RegisterRecordClasses() {
  std::span<const RecordClassEntry> entries = RecordClassEntries();
  for (int i = 0; i < kRecordClassCount; ++i) RegisterClass(i, entries[i]);
}

void DeleteRecordClasses() {
  for (AcRxClass*& own : OwnDescriptors()) {
    deleteAcRxClass(own);
    own = nullptr;
  }
  ForgetRecordClassDescriptors();
}

}  // namespace area
