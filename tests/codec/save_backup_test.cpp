#include "codec/save_backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "codec/save_container.h"
#include "support/scoped_test_env.h"

namespace ws::codec {
namespace {

namespace fs = std::filesystem;
using platform::testing::TempFolder;

void writeRaw(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes readRaw(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes saveFileHolding(std::uint8_t fill) {
  return encodeSaveFile(Bytes(300, fill));
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// 2026-12-09 10:20:30 in local time.
std::chrono::system_clock::time_point aSecond() {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 9;
  local.tm_hour = 10;
  local.tm_min = 20;
  local.tm_sec = 30;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

struct BackupCase {
  const char* name;
  // Makes what stands at the target (if anything) and returns how many
  // times the target is then replaced.
  std::function<int(const fs::path& target)> prepare;
  bool blockFolder;  // a file stands where the backup folder goes
  bool refused;
  std::vector<std::string> backups;  // the backup folder afterwards
};

TEST(SaveBackup, KeepsReplacedSavesOnlyAndTheNewestTwentyOfAName) {
  std::vector<std::string> twenty;
  for (int n = 2; n <= 21; ++n)
    twenty.push_back("RVTSV1-20261209-102030-" + std::to_string(n) + ".dat");
  std::sort(twenty.begin(), twenty.end());
  const std::vector<BackupCase> cases{
      {"no file", [](const fs::path&) { return 1; }, false, false, {}},
      {"a save file",
       [](const fs::path& t) {
         writeRaw(t, saveFileHolding(1));
         return 1;
       },
       false,
       false,
       {"RVTSV1-20261209-102030.dat"}},
      {"magic without the stream signature",
       [](const fs::path& t) {
         Bytes bytes = saveFileHolding(1);
         bytes[128] ^= 0xFF;
         writeRaw(t, bytes);
         return 1;
       },
       false,
       false,
       {}},
      {"another file",
       [](const fs::path& t) {
         writeRaw(t, Bytes(500, 'x'));
         return 1;
       },
       false,
       false,
       {}},
      {"a folder",
       [](const fs::path& t) {
         fs::create_directory(t);
         return 1;
       },
       false,
       false,
       {}},
      {"21 saves of one name",
       [](const fs::path& t) {
         writeRaw(t, saveFileHolding(1));
         return 21;
       },
       false, false, twenty},
      {"backup folder not writable",
       [](const fs::path& t) {
         writeRaw(t, saveFileHolding(1));
         return 1;
       },
       true,
       true,
       {}},
  };
  for (const BackupCase& c : cases) {
    const TempFolder game("backup-game");
    const TempFolder state("backup-state");
    const fs::path target = game.path() / "RVTSV1.dat";
    const fs::path folder = state.path() / "backups";
    if (c.blockFolder) writeRaw(folder, {1});
    const int replacements = c.prepare(target);
    for (int n = 0; n < replacements; ++n) {
      const Bytes old = fs::is_regular_file(target) ? readRaw(target) : Bytes{};
      const auto kept = backUpSaveFile(target, folder, aSecond());
      ASSERT_EQ(kept.ok(), !c.refused) << c.name;
      if (!kept) {
        EXPECT_NE(kept.error().message.find("RVTSV1.dat"), std::string::npos) << c.name;
        break;
      }
      if (kept->has_value()) {
        EXPECT_EQ(readRaw(**kept), old) << c.name << n;
      }
      if (fs::is_regular_file(target))
        writeRaw(target, saveFileHolding(static_cast<std::uint8_t>(n + 2)));
    }
    EXPECT_EQ(c.blockFolder ? std::vector<std::string>{} : namesIn(folder), c.backups) << c.name;
  }
}

}  // namespace
}  // namespace ws::codec
