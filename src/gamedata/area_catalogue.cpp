#include "gamedata/area_catalogue.h"

#include <algorithm>

#include "platform/file_io.h"

namespace ws::gamedata {

AreaCatalogue parseAreaCatalogue(std::span<const std::uint8_t> file) {
  AreaCatalogue names;
  names.reserve(kCatalogueEntryCount);
  for (std::size_t i = 0; i < static_cast<std::size_t>(kCatalogueEntryCount); ++i) {
    const std::size_t offset = kCatalogueNameOffset + kCatalogueRecordSize * i;
    // A field the file does not hold in full gives an empty name, so that a
    // short catalogue never lends bytes from elsewhere to a name and the
    // entries keep their positions.
    if (offset > file.size() || file.size() - offset < kCatalogueNameField) {
      names.emplace_back();
      continue;
    }
    const auto field = file.subspan(offset, kCatalogueNameField);
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    names.emplace_back(field.begin(), end);
  }
  return names;
}

Result<AreaCatalogue> LoadAreaCatalogue(const std::filesystem::path& path) {
  const platform::FileRead read =
      platform::readRegularFile(path, kCompleteCatalogueSize, platform::OverCeiling::ReadPrefix);
  if (!read.ok()) return Error{read.message};
  return parseAreaCatalogue(read.bytes);
}

}  // namespace ws::gamedata
