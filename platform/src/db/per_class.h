// An answer about objects that depends only on their class, worked out once a class: a drawing
// has a few classes and many objects, and each cast walks the class hierarchy.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "cad/rx.h"

namespace tessera::db {

template <typename Value>
class PerClass {
 public:
  template <typename Compute>
  Value of(const AcRxClass* aClass, Compute&& compute) {
    Slot& slot = m_cache[SlotOf(aClass)];
    if (slot.aClass == aClass) return slot.value;
    for (const auto& [known, value] : m_values) {
      if (known == aClass) {
        slot = {aClass, value};
        return value;
      }
    }
    const Value value = compute();
    m_values.emplace_back(aClass, value);
    slot = {aClass, value};
    return value;
  }

 private:
  static constexpr std::size_t kSlots = 64;
  struct Slot {
    const AcRxClass* aClass = nullptr;
    Value value{};
  };
  // Classes are separate allocations: the bits above their alignment tell them apart.
  static std::size_t SlotOf(const AcRxClass* aClass) {
    const auto bits = reinterpret_cast<std::uintptr_t>(aClass);
    return ((bits >> 4) ^ (bits >> 10)) % kSlots;
  }

  std::array<Slot, kSlots> m_cache{};  // the class last met at each slot
  std::vector<std::pair<const AcRxClass*, Value>> m_values;
};

}  // namespace tessera::db
