#include "codec/save_backup.h"

#include "codec/save_container.h"
#include "platform/backup_files.h"
#include "platform/file_io.h"

namespace ws::codec {

Result<std::optional<std::filesystem::path>> backUpSaveFile(
    const std::filesystem::path& target, const std::filesystem::path& backupFolder,
    std::chrono::system_clock::time_point now) {
  using Kept = std::optional<std::filesystem::path>;
  const platform::FileRead old = platform::readRegularFile(target, kMaxSaveFileSize);
  switch (old.failure) {
    case platform::ReadFailure::None:
      break;
    case platform::ReadFailure::NotFound:
    case platform::ReadFailure::NotAFile:  // written to in place, never replaced
    case platform::ReadFailure::TooLarge:  // larger than any save file
      return Kept{};
    default:  // it may be a save file: without a copy it must not be replaced
      return Error{"cannot back up " + platform::pathForMessage(target) + ": " + old.message};
  }
  if (!hasSaveSignature(old.bytes)) return Kept{};
  Result<std::filesystem::path> stored =
      platform::storeBackup(backupFolder, target, old.bytes, now);
  if (!stored) {
    return Error{"cannot back up " + platform::pathForMessage(target) + ": " +
                 stored.error().message};
  }
  return Kept{*stored};
}

}  // namespace ws::codec
