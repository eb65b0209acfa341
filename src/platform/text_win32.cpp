// The CP932 conversions through the Windows code page 932 tables.
#include <windows.h>

#include "platform/text.h"

namespace ws::platform {
namespace {

constexpr UINT kCp932 = 932;
constexpr wchar_t kReplacementCharacter = 0xFFFD;

// Bytes that code page 932 leaves undefined. Windows still maps them (0x80 to
// U+0080, 0xA0 and 0xFD to 0xFF into the private use area); here they are
// invalid, as in every other CP932 converter.
bool isUndefinedSingleByte(unsigned char byte) {
  return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

std::string wideToUtf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int wideSize = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) {
  // Character by character, so that one bad character becomes one U+FFFD
  // instead of failing the whole text.
  std::wstring wide;
  wide.reserve(cp932.size());
  std::size_t i = 0;
  while (i < cp932.size()) {
    const auto byte = static_cast<unsigned char>(cp932[i]);
    if (isUndefinedSingleByte(byte)) {
      wide += kReplacementCharacter;
      ++i;
      continue;
    }
    std::size_t length = isCp932LeadByte(byte) ? 2 : 1;
    if (i + length > cp932.size()) {
      wide += kReplacementCharacter;  // cut inside a double-byte character
      break;
    }
    wchar_t unit = 0;
    const int converted = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, cp932.data() + i,
                                              static_cast<int>(length), &unit, 1);
    if (converted == 1) {
      wide += unit;
    } else {
      wide += kReplacementCharacter;
      length = 1;  // keep a plain character that follows a bad lead byte
    }
    i += length;
  }
  return wideToUtf8(wide);
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const int utf8Size = static_cast<int>(utf8.size());
  const int wideSize =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Size, nullptr, 0);
  if (wideSize <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Size, wide.data(), wideSize);
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr,
                                       0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, out.data(), size,
                      nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  // A character that only Windows' mapping of the undefined bytes yields
  // (U+0080, U+F8F0 to U+F8F3) does not come back unchanged.
  if (cp932ToUtf8(out) != utf8) return std::nullopt;
  return out;
}

}  // namespace ws::platform
