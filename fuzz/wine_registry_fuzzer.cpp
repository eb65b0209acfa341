// Arbitrary bytes as a Wine system.reg file, and as CP932 text for the
// converter and the directory-part rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/game_paths.h"
#include "platform/registry.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace ws::platform;

  for (const std::string_view valueName : {kGameRegistryValue, std::string_view()}) {
    if (const auto value = findWineRegistryString(text, kGameRegistryKey, valueName)) {
      // A value comes back as CP932 that converts to UTF-8 and back unchanged.
      const auto again = utf8ToCp932(cp932ToUtf8(*value));
      if (!again || *again != *value) std::abort();
    }
  }

  const std::string utf8 = cp932ToUtf8(text);
  if (const auto cp932 = utf8ToCp932(utf8)) {
    if (cp932ToUtf8(*cp932) != utf8) std::abort();
  }
  const std::string folder = directoryPart(text);
  if (folder.size() > text.size() || text.substr(0, folder.size()) != folder) std::abort();
  return 0;
}
