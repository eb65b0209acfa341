#include "gamedata/object_item.h"

namespace ws::gamedata {

namespace {

// Item prefixes, CP932 bytes. The Japanese ones take two bytes per character,
// so every prefix is 5 bytes and the fields after it sit at fixed positions.
constexpr std::string_view kDungeonPrefix = "\x93\xB4\x8C\x41(";  // 洞窟(
constexpr std::string_view kHousePrefix = "\x96\xAF\x89\xC6(";    // 民家(
constexpr std::string_view kChurchPrefix = "chur(";
constexpr std::string_view kTowerPrefix = "towe(";
constexpr std::string_view kLinkGatePrefix = "link(";

constexpr int kPositionDigits = 4;
constexpr int kObjectNumberDigits = 2;

// 1-based byte positions of the fields.
constexpr std::size_t kXFirst = 6;
constexpr std::size_t kXLast = 9;
constexpr std::size_t kYFirst = 11;
constexpr std::size_t kYLast = 14;
constexpr std::size_t kNumberFirst = 16;
constexpr std::size_t kNumberLast = 17;

constexpr std::size_t kMaxHexDigits = 8;

std::string_view prefixOf(ObjectItemKind kind) {
  switch (kind) {
    case ObjectItemKind::Dungeon:
      return kDungeonPrefix;
    case ObjectItemKind::House:
      return kHousePrefix;
    case ObjectItemKind::Church:
      return kChurchPrefix;
    case ObjectItemKind::Tower:
      return kTowerPrefix;
    case ObjectItemKind::LinkGate:
      return kLinkGatePrefix;
  }
  return {};
}

std::optional<std::uint32_t> hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint32_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
  return std::nullopt;
}

}  // namespace

std::string formatHex(std::int32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  // A negative value shows as its 32-bit two's complement, all 8 digits.
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  std::string text;
  do {
    text.insert(text.begin(), kDigits[bits & 0xFu]);
    bits >>= 4;
  } while (bits != 0);
  if (static_cast<int>(text.size()) < digits) {
    text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  }
  return text;
}

std::string formatObjectItem(ObjectItemKind kind, const AreaObjectRef& object) {
  std::string item(prefixOf(kind));
  item += formatHex(object.x, kPositionDigits);
  item += ',';
  item += formatHex(object.y, kPositionDigits);
  if (kind == ObjectItemKind::Dungeon || kind == ObjectItemKind::House) {
    item += ')';
    item += formatHex(object.index, kObjectNumberDigits);
  }
  return item;
}

std::optional<std::int32_t> readItemHex(std::string_view item, std::size_t first,
                                        std::size_t last) {
  if (first == 0 || last < first || last > item.size() || last - first + 1 > kMaxHexDigits) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t position = first; position <= last; ++position) {
    const auto digit = hexDigitValue(item[position - 1]);
    if (!digit) return std::nullopt;
    value = (value << 4) | *digit;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> itemX(std::string_view item) {
  return readItemHex(item, kXFirst, kXLast);
}

std::optional<std::int32_t> itemY(std::string_view item) {
  return readItemHex(item, kYFirst, kYLast);
}

std::optional<std::int32_t> itemObjectNumber(std::string_view item) {
  return readItemHex(item, kNumberFirst, kNumberLast);
}

}  // namespace ws::gamedata
