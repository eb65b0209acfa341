#include "demo/demo_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <span>
#include <system_error>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "platform/file_io.h"
#include "platform/text.h"

namespace ws::demo {

namespace {

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kRandomSuffixLength = 6;

std::string markerText(std::uint64_t seed) {
  return "worldsmith demo game\nformat 1\nseed " + std::to_string(seed) + "\n";
}

// A path in a failure's detail, CP932 as every detail is.
std::string describe(const fs::path& path) {
  return platform::pathForMessage(path);
}

#ifdef _WIN32
// The system's own codes, as the file functions report them on Windows.
std::optional<DemoWriteReason> windowsReasonOf(std::error_code error) {
  if (error.category() != std::system_category()) return std::nullopt;
  switch (static_cast<DWORD>(error.value())) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return DemoWriteReason::NoSpace;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return DemoWriteReason::Denied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return DemoWriteReason::BadName;
    default:
      return DemoWriteReason::Other;
  }
}
#endif

DemoWriteReason reasonOf(std::error_code error) {
#ifdef _WIN32
  if (const auto reason = windowsReasonOf(error)) return *reason;
#endif
  if (error == std::errc::no_space_on_device || error == std::errc::file_too_large) {
    return DemoWriteReason::NoSpace;
  }
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
      error == std::errc::read_only_file_system) {
    return DemoWriteReason::Denied;
  }
  if (error == std::errc::invalid_argument || error == std::errc::filename_too_long ||
      error == std::errc::illegal_byte_sequence) {
    return DemoWriteReason::BadName;
  }
  return DemoWriteReason::Other;
}

DemoWriteFailure failure(std::string_view what, const fs::path& path, std::error_code error) {
  return {reasonOf(error), std::string(what) + " " + describe(path) + ": " + error.message()};
}

// A new file with exactly `bytes`; the system's error when any step fails,
// the closing included (where a full disk often shows first).
#ifdef _WIN32
std::error_code writeNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {static_cast<int>(GetLastError()), std::system_category()};
  DWORD error = 0;
  for (std::size_t done = 0; done < bytes.size() && error == 0;) {
    const auto chunk = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (WriteFile(file, bytes.data() + done, chunk, &written, nullptr) == FALSE) {
      error = GetLastError();
    }
    done += written;
  }
  if (CloseHandle(file) == FALSE && error == 0) error = GetLastError();
  return error == 0 ? std::error_code{}
                    : std::error_code{static_cast<int>(error), std::system_category()};
}
#else
std::error_code writeNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return {errno, std::generic_category()};
  int error = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    error = errno != 0 ? errno : EIO;
  }
  if (std::fflush(file) != 0 && error == 0) error = errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  return error == 0 ? std::error_code{} : std::error_code{error, std::generic_category()};
}
#endif

// ".NAME.KIND-XXXXXX" beside `target`, not yet existing.
std::optional<fs::path> siblingName(const fs::path& target, std::string_view kind) {
  static std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    std::string suffix;
    for (std::size_t i = 0; i < kRandomSuffixLength; ++i) {
      suffix += kLetters[generator() % (sizeof kLetters - 1)];
    }
    fs::path name = ".";
    name += target.filename();
    // Appended piece by piece: 32-bit MinGW GCC 12 at -O3 warns falsely
    // (-Wrestrict) inside a chain of string operator+.
    std::string tail = ".";
    tail.append(kind).append("-").append(suffix);
    name += tail;
    const fs::path candidate = parent / name;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(candidate, error))) return candidate;
  }
  return std::nullopt;
}

// The whole demo below `folder` (which does not exist yet), marker last.
std::optional<DemoWriteFailure> writeTree(const fs::path& folder, std::uint64_t seed,
                                          const std::vector<DemoFile>& files) {
  std::error_code error;
  for (const fs::path& sub : demoGameFolders()) {
    fs::create_directories(folder / sub, error);
    if (error) return failure("cannot create", folder / sub, error);
  }
  for (const DemoFile& file : files) {
    error = writeNewFile(folder / file.relativePath, file.bytes);
    if (error) return failure("cannot write", folder / file.relativePath, error);
  }
  const std::string marker = markerText(seed);
  error =
      writeNewFile(folder / kDemoMarkerFileName,
                   std::span(reinterpret_cast<const std::uint8_t*>(marker.data()), marker.size()));
  if (error) return failure("cannot write", folder / kDemoMarkerFileName, error);
  return std::nullopt;
}

// Moves the saves the user kept in the old folder's "usr" (the save dialog
// starts there) into the new one. True when none is left behind.
bool carryOverSaves(const fs::path& oldFolder, const fs::path& newFolder) {
  std::error_code error;
  const fs::path oldSaves = oldFolder / "usr";
  if (!fs::is_directory(oldSaves, error)) return true;
  bool allMoved = true;
  for (const fs::directory_entry& entry : fs::directory_iterator(oldSaves, error)) {
    std::error_code moved;
    fs::rename(entry.path(), newFolder / "usr" / entry.path().filename(), moved);
    allMoved = allMoved && !moved;
  }
  return allMoved && !error;
}

// Puts the finished `built` folder where `target` is: the old target goes
// aside first and comes back when the new one cannot take its place. The
// user's saves in the old folder move into the new one; the old folder is
// removed only when none was left behind.
std::optional<DemoWriteFailure> replaceFolder(const fs::path& built, const fs::path& target) {
  std::error_code error;
  if (fs::is_directory(target, error) && fs::is_empty(target, error)) fs::remove(target, error);
  if (!fs::exists(fs::symlink_status(target, error))) {
    fs::rename(built, target, error);
    if (error) return failure("cannot rename the demo game to", target, error);
    return std::nullopt;
  }
  const std::optional<fs::path> aside = siblingName(target, "old");
  if (!aside)
    return DemoWriteFailure{DemoWriteReason::Other, "no free name beside " + describe(target)};
  fs::rename(target, *aside, error);
  if (error) return failure("cannot move aside", target, error);
  fs::rename(built, target, error);
  if (error) {
    std::error_code restore;
    fs::rename(*aside, target, restore);
    return failure("cannot rename the demo game to", target, error);
  }
  if (carryOverSaves(*aside, target)) fs::remove_all(*aside, error);
  return std::nullopt;
}

// Moves every file of the finished `built` folder into `target`, replacing
// files of the same names; the marker comes last, so a move that fails
// midway leaves the target marked incomplete.
std::optional<DemoWriteFailure> mergeFolder(const fs::path& built, const fs::path& target,
                                            const std::vector<DemoFile>& files) {
  std::error_code error;
  for (const fs::path& sub : demoGameFolders()) {
    fs::create_directories(target / sub, error);
    if (error) return failure("cannot create", target / sub, error);
  }
  fs::remove(target / kDemoMarkerFileName, error);
  for (const DemoFile& file : files) {
    fs::rename(built / file.relativePath, target / file.relativePath, error);
    if (error) return failure("cannot move into place", target / file.relativePath, error);
  }
  fs::rename(built / kDemoMarkerFileName, target / kDemoMarkerFileName, error);
  if (error) return failure("cannot move into place", target / kDemoMarkerFileName, error);
  return std::nullopt;
}

}  // namespace

bool isCompleteDemoFolder(const fs::path& folder, std::uint64_t seed) {
  const platform::FileRead marker =
      platform::readRegularFile(folder / kDemoMarkerFileName, markerText(seed).size() + 1);
  const std::string expected = markerText(seed);
  return marker.ok() && std::string(marker.bytes.begin(), marker.bytes.end()) == expected;
}

std::optional<DemoWriteFailure> writeDemoFolder(const fs::path& given, std::uint64_t seed,
                                                ExistingFolder existing) {
  const fs::path target = given.has_filename() ? given : given.parent_path();  // "dir/" is "dir"
  std::error_code error;
  if (!target.parent_path().empty()) {
    fs::create_directories(target.parent_path(), error);
    if (error) return failure("cannot create", target.parent_path(), error);
  }
  const std::optional<fs::path> built = siblingName(target, "tmp");
  if (!built)
    return DemoWriteFailure{DemoWriteReason::Other, "no free name beside " + describe(target)};
  const std::vector<DemoFile> files = demoGameFiles(seed);
  std::optional<DemoWriteFailure> failed = writeTree(*built, seed, files);
  if (!failed) {
    const bool merge = existing == ExistingFolder::Merge && fs::is_directory(target, error) &&
                       !fs::is_empty(target, error);
    failed = merge ? mergeFolder(*built, target, files) : replaceFolder(*built, target);
  }
  fs::remove_all(*built, error);  // nothing of a failed write stays behind
  return failed;
}

std::optional<DemoWriteFailure> ensureDemoFolder(const fs::path& target) {
  if (isCompleteDemoFolder(target)) return std::nullopt;
  return writeDemoFolder(target);
}

}  // namespace ws::demo
