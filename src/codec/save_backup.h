#pragma once

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/result.h"

namespace ws::codec {

// Keeps the save file at `target` before something replaces it: when
// `target` is a regular file that begins as a save file, its bytes are
// copied into `backupFolder` (platform::storeBackup: NAME-YYYYMMDD-HHMMSS.dat,
// the newest 20 of a name kept). Returns the backup's path, or nothing when
// there was nothing to keep (no file, a folder or device, a file too large
// or too short to be a save, any other content). An Error (English, naming
// the file) when `target` exists but cannot be read, or the copy cannot be
// written: the caller must then leave `target` as it is.
Result<std::optional<std::filesystem::path>> backUpSaveFile(
    const std::filesystem::path& target, const std::filesystem::path& backupFolder,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

}  // namespace ws::codec
