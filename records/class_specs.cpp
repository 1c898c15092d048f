#include "records/class_specs.h"

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
RecordClassSpec FigureSpec() {
  return {T::Layout().className, T::Layout().dxfName, Create<T>};
}

const std::array<RecordClassSpec, kRecordClassCount>& Specs() {
  static const std::array<RecordClassSpec, kRecordClassCount> kSpecs = {{
      FigureSpec<AreaDic_Triangle>(),
      FigureSpec<AreaDic_Rectangle>(),
      FigureSpec<AreaDic_Trapezoid>(),
      FigureSpec<AreaDic_Sector>(),
      FigureSpec<AreaDic_Circle>(),
      FigureSpec<AreaDic_Lune>(),
      {"AreaDic_STable", "AREADIC_STABLE", Create<AreaDic_STable>},
      {"AreaDic_Table", "AREADIC_TABLE", Create<AreaDic_Table>},
  }};
  return kSpecs;
}

std::array<AcRxClass*, kRecordClassCount>& KeptDescriptors() {
  static std::array<AcRxClass*, kRecordClassCount> kept{};
  return kept;
}

}  // namespace

std::span<const RecordClassSpec> RecordClassSpecs() {
  return Specs();
}

AcRxClass* RecordClassDescriptor(RecordClassIndex index) {
  AcRxClass*& kept = KeptDescriptors()[index];
  // The class dictionary holds nothing but class descriptors.
  if (kept == nullptr)
    kept = static_cast<AcRxClass*>(acrxClassDictionary()->at(Specs()[index].className));
  return kept;
}

void ForgetRecordClassDescriptors() {
  KeptDescriptors().fill(nullptr);
}

}  // namespace area
