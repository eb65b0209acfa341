#include "app_win32/win32_text.h"

#include <windows.h>

#include "platform/text.h"

namespace ws::app {

std::wstring toWide(std::string_view cp932) {
  const std::string utf8 = platform::cp932ToUtf8(cp932);
  if (utf8.empty()) return {};
  const int utf8Size = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Size, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Size, wide.data(), size);
  return wide;
}

std::optional<std::string> toCp932(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int wideSize = static_cast<int>(wide.size());
  // WC_ERR_INVALID_CHARS: a lone surrogate fails instead of becoming "?".
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), wideSize,
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), wideSize, utf8.data(), size,
                      nullptr, nullptr);
  return platform::utf8ToCp932(utf8);
}

}  // namespace ws::app
