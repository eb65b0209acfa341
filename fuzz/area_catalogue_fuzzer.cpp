// The catalogue reader over arbitrary bytes: always 200 names, each taken
// from its own 14-byte field only, never from beyond the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "gamedata/area_catalogue.h"

using namespace ws::gamedata;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const AreaCatalogue names = parseAreaCatalogue(file);
  if (names.size() != static_cast<std::size_t>(kCatalogueEntryCount)) std::abort();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string_view name = names[i];
    const std::size_t field = kCatalogueNameOffset + kCatalogueRecordSize * i;
    if (name.size() > kCatalogueNameField) std::abort();
    if (name.find('\0') != std::string_view::npos) std::abort();
    if (field + kCatalogueNameField > size) {
      if (!name.empty()) std::abort();
      continue;
    }
    // The name is the field up to its first NUL, byte for byte.
    for (std::size_t k = 0; k < name.size(); ++k) {
      if (static_cast<std::uint8_t>(name[k]) != data[field + k]) std::abort();
    }
    if (name.size() < kCatalogueNameField && data[field + name.size()] != 0) std::abort();
  }
  return 0;
}
