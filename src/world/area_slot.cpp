#include "world/area_slot.h"

#include <utility>

namespace ws::world {

void AreaSlotTable::clear() {
  for (AreaSlot& slot : slots)
    slot.used = false;
}

std::optional<int> AreaSlotTable::firstFree() const {
  for (int i = 0; i < kSlotCount; ++i) {
    if (!slots[static_cast<std::size_t>(i)].used) return i;
  }
  return std::nullopt;
}

void AreaSlotTable::free(int index) {
  (*this)[index].used = false;
}

void AreaSlotTable::exchange(int first, int second) {
  std::swap((*this)[first], (*this)[second]);
}

int AreaSlotTable::usedCount() const {
  int count = 0;
  forEachUsed([&count](int, const AreaSlot&) { ++count; });
  return count;
}

}  // namespace ws::world
