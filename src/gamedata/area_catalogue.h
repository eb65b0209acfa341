#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/result.h"

namespace ws::gamedata {

// The catalogue file: an 18-byte header nothing reads, then 200 records of
// 22 bytes, each with its name in bytes 7 to 20.
inline constexpr int kCatalogueEntryCount = 200;
inline constexpr std::size_t kCatalogueHeaderSize = 18;
inline constexpr std::size_t kCatalogueRecordSize = 22;
inline constexpr std::size_t kCatalogueNameField = 14;
inline constexpr std::size_t kCatalogueNameOffset = kCatalogueHeaderSize + 7;  // name of entry 0
// The file with all 200 records, including the last record's final byte
// that nothing reads.
inline constexpr std::size_t kCatalogueFileSize =
    kCatalogueHeaderSize + kCatalogueRecordSize * kCatalogueEntryCount;
// Up to the end of the last name field: what reading needs.
inline constexpr std::size_t kCompleteCatalogueSize = kCatalogueFileSize - 1;
static_assert(kCompleteCatalogueSize == 4417);

// The 200 area names in file order, CP932 bytes. Entry i is area number i and
// names that area's map file; empty names keep their positions.
using AreaCatalogue = std::vector<std::string>;

// Always 200 entries: a field the file does not hold in full gives an empty
// name; a field without a NUL gives its 14 bytes.
AreaCatalogue parseAreaCatalogue(std::span<const std::uint8_t> file);

// The catalogue at `path`, or "cannot read PATH: REASON" when the file cannot
// be read or is no regular file. Only its first kCompleteCatalogueSize bytes
// are read: nothing after them is ever looked at, so a longer file is read no
// further, never refused.
Result<AreaCatalogue> LoadAreaCatalogue(const std::filesystem::path& path);

}  // namespace ws::gamedata
