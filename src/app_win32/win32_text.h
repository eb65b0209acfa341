#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ws::app {

// The editor keeps every text as CP932 bytes; the wide-character API takes
// UTF-16. Both directions go through the platform's CP932 converter, so a
// byte sequence shows here exactly as it does everywhere else.

// A CP932 text for the W functions; bad sequences show as U+FFFD.
std::wstring toWide(std::string_view cp932);

// A text the user typed, as CP932; nothing when CP932 cannot hold it.
std::optional<std::string> toCp932(std::wstring_view wide);

}  // namespace ws::app
