#include <cstdint>

#include "platform/text.h"

// The windows hold text as UTF-16 (QString, the W functions); the core holds
// CP932. These go through UTF-8, the one form both converters share, with a
// plain transcoder that is the same on every system.
namespace ws::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

void appendUtf16(std::u16string& out, char32_t point) {
  if (point < 0x10000) {
    out += static_cast<char16_t>(point);
    return;
  }
  point -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (point >> 10));
  out += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
}

// The code point that starts at utf8[at], moving `at` past it. The UTF-8
// here comes from the CP932 converter and is valid; anything else reads as
// U+FFFD, one byte at a time.
char32_t nextCodePoint(std::string_view utf8, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(utf8[at++]);
  if (lead < 0x80) return lead;
  const int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (trailing < 0 || lead > 0xF4 || at + static_cast<std::size_t>(trailing) > utf8.size()) {
    return kReplacement;
  }
  char32_t point = lead & (0x3F >> trailing);
  for (int i = 0; i < trailing; ++i) {
    const auto unit = static_cast<unsigned char>(utf8[at + static_cast<std::size_t>(i)]);
    if ((unit & 0xC0) != 0x80) return kReplacement;
    point = (point << 6) | (unit & 0x3F);
  }
  at += static_cast<std::size_t>(trailing);
  return point;
}

}  // namespace

std::u16string cp932ToUtf16(std::string_view cp932) {
  const std::string utf8 = cp932ToUtf8(cp932);
  std::u16string utf16;
  utf16.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();)
    appendUtf16(utf16, nextCodePoint(utf8, at));
  return utf16;
}

std::optional<std::string> utf16ToCp932(std::u16string_view utf16) {
  std::string utf8;
  utf8.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t unit = utf16[i];
    if (isHighSurrogate(unit) && i + 1 < utf16.size() && isLowSurrogate(utf16[i + 1])) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      return std::nullopt;  // half a character: no CP932 text can hold it
    }
    appendUtf8(utf8, unit);
  }
  return utf8ToCp932(utf8);
}

}  // namespace ws::platform
