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

}  // namespace ws::gamedata
