#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 and UTF-16, the two forms text takes outside the game's CP932: UTF-8
// in the core's conversions and Wine's registry files, UTF-16 in the
// registry's own strings and in both windows (QString, the W functions).
namespace ws::platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character of UTF-8 that starts at text[pos], moving `pos` past it. A
// bad sequence (cut, overlong, a surrogate, beyond U+10FFFF, a stray byte)
// gives U+FFFD and moves one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

// Appends a character as one UTF-16 unit or a surrogate pair.
void appendUtf16(std::u16string& out, char32_t codePoint);

// Whole texts; what cannot be read becomes U+FFFD (a lone surrogate, in UTF-16).
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace ws::platform
