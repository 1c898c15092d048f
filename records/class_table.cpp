#include "records/class_table.h"

#include <array>

#include "records/figure_records.h"

namespace area {
namespace {

template <typename T>
AcRxObject* Create() {
  return new T;
}

// A figure record class takes its names from its field declaration.
template <typename T>
RecordClassEntry FigureEntry() {
  return {T::Layout().className, T::Layout().dxfName, Create<T>};
}

const std::array<RecordClassEntry, kRecordClassCount>& Entries() {
  static const std::array<RecordClassEntry, kRecordClassCount> kEntries = {{
      FigureEntry<AreaDic_Triangle>(),
      FigureEntry<AreaDic_Rectangle>(),
      FigureEntry<AreaDic_Trapezoid>(),
      FigureEntry<AreaDic_Sector>(),
      FigureEntry<AreaDic_Circle>(),
      FigureEntry<AreaDic_Lune>(),
      {"AreaDic_STable", "AREADIC_STABLE", Create<AreaDic_STable>},
      {"AreaDic_Table", "AREADIC_TABLE", Create<AreaDic_Table>},
  }};
  return kEntries;
}

std::array<AcRxClass*, kRecordClassCount>& KeptDescriptors() {
  static std::array<AcRxClass*, kRecordClassCount> kept{};
  return kept;
}

}  // namespace

std::span<const RecordClassEntry> RecordClassEntries() {
  return Entries();
}

AcRxClass* RecordClassDescriptor(RecordClassIndex index) {
  AcRxClass*& kept = KeptDescriptors()[index];
  // The class dictionary holds nothing but class descriptors.
  if (kept == nullptr)
    kept = static_cast<AcRxClass*>(acrxClassDictionary()->at(Entries()[index].className));
  return kept;
}

void ForgetRecordClassDescriptors() {
  KeptDescriptors().fill(nullptr);
}

}  // namespace area
