#include "demo/catalogue_builder.h"

#include <algorithm>

#include "gamedata/area_catalogue.h"

namespace ws::demo {

namespace {

// Filler for the bytes the reader must skip: never 0, so that a reader that
// strays outside a name field picks up visible garbage instead of an end.
std::uint8_t filler(std::size_t offset) {
  return static_cast<std::uint8_t>(0x40u + (offset * 7u) % 0x3Fu);
}

}  // namespace

std::vector<std::uint8_t> buildCatalogueFile(std::span<const std::string> names) {
  std::vector<std::uint8_t> file(gamedata::kCatalogueFileSize);
  for (std::size_t offset = 0; offset < file.size(); ++offset)
    file[offset] = filler(offset);

  const std::size_t count =
      std::min(names.size(), static_cast<std::size_t>(gamedata::kCatalogueEntryCount));
  for (std::size_t i = 0; i < static_cast<std::size_t>(gamedata::kCatalogueEntryCount); ++i) {
    const std::size_t field = gamedata::kCatalogueNameOffset + gamedata::kCatalogueRecordSize * i;
    const std::string_view name = i < count ? std::string_view(names[i]) : std::string_view();
    const std::size_t length = std::min(name.size(), gamedata::kCatalogueNameField);
    std::copy_n(name.begin(), length, file.begin() + static_cast<std::ptrdiff_t>(field));
    if (length < gamedata::kCatalogueNameField) file[field + length] = 0;
  }
  return file;
}

std::vector<std::uint8_t> buildShortCatalogueFile(std::span<const std::string> names,
                                                  std::size_t length) {
  auto file = buildCatalogueFile(names);
  file.resize(std::min(length, file.size()));
  return file;
}

}  // namespace ws::demo
