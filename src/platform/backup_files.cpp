#include "platform/backup_files.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/file_io.h"

namespace ws::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBackupExtension = ".dat";
constexpr std::size_t kDateDigits = 8;  // YYYYMMDD
constexpr std::size_t kTimeDigits = 6;  // HHMMSS

// A backup's place in the order of its name: the time stamp as written
// (YYYYMMDD-HHMMSS sorts by time), then the counter (1 when there is none).
struct BackupEntry {
  std::string stamp;
  unsigned long counter = 1;
  fs::path path;
};

std::string utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

std::string localStamp(std::chrono::system_clock::time_point now) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// "-YYYYMMDD-HHMMSS" with an optional "-N", then ".dat", after NAME.
std::optional<BackupEntry> parseBackupName(std::string_view rest) {
  if (rest.size() < kBackupExtension.size() || !rest.ends_with(kBackupExtension) ||
      !rest.starts_with('-')) {
    return std::nullopt;
  }
  rest.remove_prefix(1);
  rest.remove_suffix(kBackupExtension.size());
  const std::size_t stampSize = kDateDigits + 1 + kTimeDigits;
  if (rest.size() < stampSize || rest[kDateDigits] != '-') return std::nullopt;
  if (!allDigits(rest.substr(0, kDateDigits)) ||
      !allDigits(rest.substr(kDateDigits + 1, kTimeDigits))) {
    return std::nullopt;
  }
  BackupEntry entry;
  entry.stamp = std::string(rest.substr(0, stampSize));
  const std::string_view counter = rest.substr(stampSize);
  if (counter.empty()) return entry;
  if (counter.size() < 2 || counter.size() > 10 || counter[0] != '-' ||
      !allDigits(counter.substr(1))) {
    return std::nullopt;
  }
  entry.counter = std::stoul(std::string(counter.substr(1)));
  return entry;
}

std::vector<BackupEntry> backupsOf(const fs::path& folder, const std::string& name) {
  std::vector<BackupEntry> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string file = utf8Of(it->path().filename());
    if (!file.starts_with(name)) continue;
    std::optional<BackupEntry> entry = parseBackupName(std::string_view(file).substr(name.size()));
    if (!entry) continue;
    entry->path = it->path();
    found.push_back(std::move(*entry));
  }
  return found;
}

void removeOldest(const fs::path& folder, const std::string& name, std::size_t keep) {
  std::vector<BackupEntry> backups = backupsOf(folder, name);
  if (backups.size() <= keep) return;
  std::sort(backups.begin(), backups.end(), [](const BackupEntry& a, const BackupEntry& b) {
    return a.stamp != b.stamp ? a.stamp < b.stamp : a.counter < b.counter;
  });
  for (std::size_t i = 0; i + keep < backups.size(); ++i) {
    std::error_code ignored;
    fs::remove(backups[i].path, ignored);
  }
}

// The first free name of this second: NAME-STAMP.dat, then -2, -3, ...
fs::path freeBackupPath(const fs::path& folder, const std::string& name, const std::string& stamp) {
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) inside a
  // chain of std::string operator+ on 32-bit MinGW.
  std::string base = name;
  base.append("-").append(stamp);
  for (unsigned long counter = 1;; ++counter) {
    std::string file = base;
    if (counter != 1) file.append("-").append(std::to_string(counter));
    file.append(kBackupExtension);
    fs::path candidate = folder / fs::path(std::u8string(file.begin(), file.end()));
    std::error_code error;
    if (!fs::exists(fs::symlink_status(candidate, error))) return candidate;
  }
}

}  // namespace

Result<fs::path> storeBackup(const fs::path& folder, const fs::path& replaced,
                             std::span<const std::uint8_t> bytes,
                             std::chrono::system_clock::time_point now, std::size_t keep) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    return Error{"cannot create the backup folder " + pathForMessage(folder) + ": " +
                 error.message()};
  }
  const std::string name = utf8Of(replaced.stem());
  const fs::path backup = freeBackupPath(folder, name, localStamp(now));
  if (Status written = writeFileAtomic(backup, bytes); !written) return written.error();
  removeOldest(folder, name, keep);
  return backup;
}

}  // namespace ws::platform
