#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ws::platform {

// Every game text inside the core is CP932 bytes; these convert at the edges
// (display, command line, JSON). Sequences that are not valid CP932 become
// U+FFFD; the conversion never fails.
std::string cp932ToUtf8(std::string_view cp932);

// A CP932 lead byte: the byte after it is the second half of the same
// character, whatever its value ("ソ" is 83 5C: its second byte is never a
// backslash).
constexpr bool isCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Nothing when the text is not valid UTF-8 or holds a character that CP932
// cannot represent.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

// The same two directions for UTF-16, the windows' own form (QString and the
// wide-character API): invalid CP932 shows as U+FFFD; a lone surrogate or a
// character CP932 cannot represent gives nothing.
std::u16string cp932ToUtf16(std::string_view cp932);
std::optional<std::string> utf16ToCp932(std::u16string_view utf16);

}  // namespace ws::platform
