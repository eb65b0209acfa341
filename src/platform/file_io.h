#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "platform/result.h"

namespace ws::platform {

using Bytes = std::vector<std::uint8_t>;

bool fileExists(const std::filesystem::path& path);

// The whole file, or nothing when it cannot be opened or read.
std::optional<Bytes> readWholeFile(const std::filesystem::path& path);

// Writes `bytes` as the complete new content of `target`: first into a
// temporary file in the same folder, flushed to disk, then renamed over the
// target in one step. On any failure the temporary file is removed, an
// existing target is left untouched, and the Error names the target file.
Status writeFileAtomic(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// The path as CP932 text, for messages that name a file.
std::string pathForMessage(const std::filesystem::path& path);

}  // namespace ws::platform
