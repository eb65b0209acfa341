#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/file_io.h"

namespace ws::platform::testing {

// Whether `path` names something that is not a folder.
inline bool fileExists(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

// The whole regular file up to 1 GiB, or nothing when readRegularFile fails.
inline std::optional<Bytes> readWholeFile(const std::filesystem::path& path) {
  FileRead read = readRegularFile(path, std::uint64_t{1} << 30);
  if (!read.ok()) return std::nullopt;
  return std::move(read.bytes);
}

}  // namespace ws::platform::testing
