#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "platform/bytes.h"
#include "platform/result.h"

namespace ws::platform {

// Why a file could not be read.
enum class ReadFailure {
  None,
  NotFound,    // no such file, or a folder on the way is missing
  NotAFile,    // a folder, device, FIFO, socket, or a loop of symbolic links
  TooLarge,    // larger than the ceiling its kind of file allows
  Denied,      // the system refuses to open it for reading
  ReadFailed,  // opened, but reading failed
};

// One file read whole, or why it was not.
struct FileRead {
  Bytes bytes;
  ReadFailure failure = ReadFailure::None;
  std::string message;  // for a failure: "cannot read PATH: REASON" (CP932)
  std::string reason;   // for a failure: REASON alone, for messages that name the file elsewhere
  bool ok() const { return failure == ReadFailure::None; }
};

// What to do with a file larger than the ceiling.
enum class OverCeiling { Refuse, ReadPrefix };

// Reads the regular file at `path` (symbolic links followed) without ever
// blocking: a FIFO, a device, a socket or a folder is refused with
// NotAFile before anything is read. A file larger than `ceiling` bytes is
// refused before reading (TooLarge), or with ReadPrefix only its first
// `ceiling` bytes are read: for formats whose later bytes are never looked
// at. A file that grows while being read still gets no more than the ceiling.
FileRead readRegularFile(const std::filesystem::path& path, std::uint64_t ceiling,
                         OverCeiling overCeiling = OverCeiling::Refuse);

// Writes `bytes` as the complete new content of `target`.
//  - A regular file (or none) is replaced atomically: the bytes go into a
//    hidden temporary file ".NAME.XXXXXX" in the same folder, flushed to
//    disk, then renamed over the target in one step. The new file keeps the
//    old one's permissions and, where the process may set them, its owner
//    and group. A file the user may not write is not replaced.
//  - A symbolic link is followed: the file it points to is replaced in that
//    file's folder, and the link stays.
//  - A device, FIFO or socket is written to directly, never replaced.
// On any failure a temporary file is removed, an existing target is left
// untouched, and the Error names the target.
Status writeFileAtomic(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// Creates `path` as a new file holding exactly `bytes`, flushed to disk.
// What is already there is never opened: an existing file or symbolic link
// at `path` is refused as existing. On failure a file it created is removed
// again. Returns the system's error of the first step that failed, the
// closing included (where a full disk often shows first).
std::error_code writeNewFile(const std::filesystem::path& path,
                             std::span<const std::uint8_t> bytes);

// Why writing failed, as far as a user can act on it.
enum class WriteProblem {
  NoSpace,  // the disk or the user's quota is full, or the file size limit reached
  Denied,   // the folder may not be written (permissions, a read-only file system)
  BadName,  // the file system refuses a file name
  Other,
};

// The kind of a system error that a file or folder function reported.
WriteProblem writeProblemOf(std::error_code error);

// For command-line programs: on SIGINT, SIGTERM or SIGHUP (on Windows the
// console's Ctrl-C, Ctrl-Break and close events) the temporary file of a
// write in progress is removed and the process exits with 128 + the signal
// number: 130, 143 or 129 (Ctrl-C and Ctrl-Break give 130, closing 129).
void removeTemporaryFileOnInterrupt();

// The path as CP932 text, for messages that name a file.
std::string pathForMessage(const std::filesystem::path& path);

}  // namespace ws::platform
