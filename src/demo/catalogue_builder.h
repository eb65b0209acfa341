#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ws::demo {

// A catalogue file holding `names` (CP932) as entries 0, 1, ...; the entries
// after them are empty. Each name goes into its 14-byte field followed by a
// NUL. A name of 14 bytes or more fills the whole field with its first 14
// bytes and no NUL, the way a damaged catalogue would look. Every byte that
// the reader must not look at (the header, the record bytes around the name,
// the field after the NUL) holds filler that is neither NUL nor text.
std::vector<std::uint8_t> buildCatalogueFile(std::span<const std::string> names);

// The same catalogue cut to its first `length` bytes (a short file).
std::vector<std::uint8_t> buildShortCatalogueFile(std::span<const std::string> names,
                                                  std::size_t length);

}  // namespace ws::demo
