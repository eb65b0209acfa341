// Arbitrary bytes as the editor's recovery file: parsing must refuse or
// accept without reading outside the bytes, and an accepted record must come
// back unchanged from its own encoding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <tuple>

#include "world/recovery_record.h"

namespace {

auto slotFields(const ws::world::AreaSlot& s) {
  return std::tuple(s.used, s.areaNumber, s.x, s.y, s.width, s.height, s.kind, s.specialId,
                    s.specialX, s.specialY, s.objectCount, s.objectIds, s.objectX, s.objectY);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parsed = ws::world::parseRecoveryRecord(std::span<const std::uint8_t>(data, size));
  if (!parsed) return 0;
  const auto again = ws::world::parseRecoveryRecord(
      ws::world::encodeRecoveryRecord(parsed->slots, parsed->worldName));
  if (!again || again->worldName != parsed->worldName) std::abort();
  for (int i = 0; i < ws::world::kSlotCount; ++i) {
    const auto& a = parsed->slots[i];
    const auto& b = again->slots[i];
    if (a.used != b.used || (a.used && slotFields(a) != slotFields(b))) std::abort();
  }
  return 0;
}
