#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace ws::world {

enum class AreaKind : std::uint8_t { LinkGate = 1, Field = 2, Town = 3 };
// Every kind, in the order of their values.
inline constexpr std::array<AreaKind, 3> kAreaKinds{AreaKind::LinkGate, AreaKind::Field,
                                                    AreaKind::Town};

inline constexpr int kSlotCount = 4;
inline constexpr int kWorldMapWidth = 512;
inline constexpr int kWorldMapHeight = 256;
inline constexpr std::uint8_t kNoSpecial = 255;  // a field without a tower
inline constexpr std::size_t kMaxSlotObjects = 256;

// One placed area. While `used` is false the other fields are stale and
// nothing reads them.
struct AreaSlot {
  bool used = false;
  std::int32_t areaNumber = 0;  // catalogue index
  std::int32_t x = 0;           // world-map pixels
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  AreaKind kind = AreaKind::LinkGate;
  std::uint8_t specialId = 0;  // church, tower or link gate object; kNoSpecial for none
  std::int16_t specialX = 0;   // half cells, as the object query gives it
  std::int16_t specialY = 0;
  std::uint8_t objectCount = 0;
  std::array<std::uint8_t, kMaxSlotObjects> objectIds{};
  std::array<std::int16_t, kMaxSlotObjects> objectX{};
  std::array<std::int16_t, kMaxSlotObjects> objectY{};
};

// Marks `slot` used by an area: its number, kind, corner and size, taken from
// a placement request or an area read back from a save (both name them
// alike). The special object and the chosen objects are left to the caller.
template <typename Area>
void occupySlot(AreaSlot& slot, const Area& area) {
  slot.used = true;
  slot.areaNumber = area.areaNumber;
  slot.kind = area.kind;
  slot.x = area.x;
  slot.y = area.y;
  slot.width = area.width;
  slot.height = area.height;
}

// The four slots of the world being composed. A new area goes into the free
// slot with the lowest index; saving moves the link gate to slot 0.
struct AreaSlotTable {
  std::array<AreaSlot, kSlotCount> slots{};

  AreaSlot& operator[](int index) { return slots.at(static_cast<std::size_t>(index)); }
  const AreaSlot& operator[](int index) const { return slots.at(static_cast<std::size_t>(index)); }

  // Marks every slot free; the other fields keep their values.
  void clear();
  std::optional<int> firstFree() const;
  void free(int index);
  void exchange(int first, int second);
  int usedCount() const;

  // Calls f(slotIndex, slot) for each used slot in index order.
  template <typename F>
  void forEachUsed(F&& f) const {
    for (int i = 0; i < kSlotCount; ++i) {
      if (slots[static_cast<std::size_t>(i)].used) f(i, slots[static_cast<std::size_t>(i)]);
    }
  }
};

}  // namespace ws::world
