#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ws::world {

// The texts of the character records, as the game stores them (CP932).
inline constexpr std::string_view kTextGuard = "\x8C\xEC\x89\x71";  // 護衛
inline constexpr std::string_view kTextTempleGuard =
    "\x90\x5F\x93\x61\x82\xCC\x8C\xEC\x89\x71";  // 神殿の護衛
inline constexpr std::string_view kTextTownGuard = "\x92\xAC\x82\xCC\x8C\xEC\x89\x71";  // 町の護衛
inline constexpr std::string_view kTextPriest = "\x90\x5F\x8A\xAF";                     // 神官
inline constexpr std::string_view kTextWeaponShop = "\x95\x90\x8A\xED\x89\xAE";         // 武器屋
inline constexpr std::string_view kTextTavern = "\x8E\xF0\x8F\xEA";                     // 酒場
inline constexpr std::string_view kTextInformationBroker = "\x8F\xEE\x95\xF1\x89\xAE";  // 情報屋
inline constexpr std::string_view kTextSynthesisShop = "\x8D\x87\x90\xAC\x89\xAE";      // 合成屋
inline constexpr std::string_view kTextCleric = "\x8E\x69\x8D\xD5";                     // 司祭
inline constexpr std::string_view kTextFairy = "\x97\x64\x90\xB8";                      // 妖精
inline constexpr std::string_view kTextBlacksmith = "\x92\x62\x96\xE8\x89\xAE";         // 鍛冶屋
inline constexpr std::string_view kTextPossessive = "\x82\xCC";                         // の

// Copies `text` and its NUL into the field of `fieldSize` bytes at `offset`,
// cutting the text so that the NUL still fits. The field must lie inside
// `record`.
inline void storeRecordText(std::span<std::uint8_t> record, std::size_t offset,
                            std::size_t fieldSize, std::string_view text) {
  if (fieldSize == 0) return;
  const std::size_t length = std::min(text.size(), fieldSize - 1);
  for (std::size_t i = 0; i < length; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(text[i]);
  }
  record[offset + length] = 0;
}

}  // namespace ws::world
