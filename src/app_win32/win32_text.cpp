#include "app_win32/win32_text.h"

#include "platform/text.h"

namespace ws::app {

// wchar_t is a UTF-16 unit on Windows.
std::wstring toWide(std::string_view cp932) {
  const std::u16string utf16 = platform::cp932ToUtf16(cp932);
  return {utf16.begin(), utf16.end()};
}

std::optional<std::string> toCp932(std::wstring_view wide) {
  return platform::utf16ToCp932(std::u16string(wide.begin(), wide.end()));
}

}  // namespace ws::app
