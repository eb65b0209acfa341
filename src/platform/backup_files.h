#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/result.h"

namespace ws::platform {

// How many backups of one file name a backup folder keeps.
inline constexpr std::size_t kBackupsKeptPerName = 20;

// Copies `bytes`, the old content of `replaced`, into `folder` (created
// when missing) as NAME-YYYYMMDD-HHMMSS.dat, NAME being the replaced file's
// name without its extension and the time `now` in local time; when that
// name is taken within the same second, NAME-YYYYMMDD-HHMMSS-2.dat and on.
// Then removes the oldest backups of NAME beyond the newest `keep` (older by
// their time stamp, then their counter); a backup that cannot be removed
// stays. Returns the backup's path, or the Error of creating the folder or
// writing the copy (nothing is removed then).
Result<std::filesystem::path> storeBackup(const std::filesystem::path& folder,
                                          const std::filesystem::path& replaced,
                                          std::span<const std::uint8_t> bytes,
                                          std::chrono::system_clock::time_point now,
                                          std::size_t keep = kBackupsKeptPerName);

}  // namespace ws::platform
