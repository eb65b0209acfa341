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

}  // namespace ws::platform
