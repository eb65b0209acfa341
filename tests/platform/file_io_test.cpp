#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "platform/text.h"
#include "support/file_reading.h"
#include "support/file_size_limit.h"
#include "support/scoped_test_env.h"

namespace ws::platform {
namespace {

using testing::fileExists;
using testing::readWholeFile;
using testing::TempFolder;

Bytes pattern(std::size_t size, unsigned seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i * seed + seed);
  return bytes;
}

void writePlain(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::size_t entriesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

TEST(FileIo, AtomicWriteCreatesAndThenReplacesTheWholeFile) {
  const TempFolder folder;
  const auto target = folder.path() / "RVTSV1.dat";
  ASSERT_TRUE(writeFileAtomic(target, pattern(5000, 3)).ok());
  EXPECT_EQ(readWholeFile(target), pattern(5000, 3));
  ASSERT_TRUE(writeFileAtomic(target, pattern(10, 7)).ok());
  EXPECT_EQ(readWholeFile(target), pattern(10, 7));
  ASSERT_TRUE(writeFileAtomic(target, {}).ok());
  EXPECT_EQ(readWholeFile(target), Bytes{});
  EXPECT_EQ(entriesIn(folder.path()), 1u);  // no temporary file left behind
}

struct FailureCase {
  const char* name;
  // Prepares the folder and returns the target to write; the existing file
  // at folder/"RVTSV1.dat" must survive.
  std::function<std::filesystem::path(const std::filesystem::path&)> target;
  std::size_t fileSizeLimit;  // 0: none
};

TEST(FileIo, FailedAtomicWriteLeavesTheExistingFileUntouched) {
  const std::vector<FailureCase> cases = {
      {"DiskFullMidway", [](const auto& folder) { return folder / "RVTSV1.dat"; }, 3000},
      {"DiskFullAtOnce", [](const auto& folder) { return folder / "RVTSV1.dat"; }, 1},
      {"MissingFolder", [](const auto& folder) { return folder / "usr" / "RVTSV1.dat"; }, 0},
      {"TargetIsAFolder",
       [](const auto& folder) {
         std::filesystem::create_directory(folder / "save");
         return folder / "save";
       },
       0},
  };
  const Bytes old = pattern(2000, 5);
  const Bytes replacement = pattern(8000, 11);
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder folder;
    const auto existing = folder.path() / "RVTSV1.dat";
    writePlain(existing, old);
    const auto target = c.target(folder.path());
    const std::size_t entriesBefore = entriesIn(folder.path());

    Status status;
    if (c.fileSizeLimit != 0) {
      if (!testing::kCanLimitFileSize) continue;
      const testing::FileSizeLimit limit(c.fileSizeLimit);
      ASSERT_TRUE(limit.active());
      status = writeFileAtomic(target, replacement);
    } else {
      status = writeFileAtomic(target, replacement);
    }

    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error().message.find(pathForMessage(target)), std::string::npos)
        << status.error().message;
    EXPECT_EQ(readWholeFile(existing), old);
    EXPECT_EQ(entriesIn(folder.path()), entriesBefore);
  }
}

TEST(FileIo, AtomicReplaceKeepsTheOldFilesPermissions) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows files carry no POSIX permission bits";
#endif
  const TempFolder folder;
  const auto target = folder.path() / "RVTSV1.dat";
  writePlain(target, pattern(10, 1));
  std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
  ASSERT_TRUE(writeFileAtomic(target, pattern(20, 2)).ok());
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
}

TEST(FileIo, ReadWholeFileGivesNothingForMissingFilesAndFolders) {
  const TempFolder folder;
  EXPECT_FALSE(readWholeFile(folder.path() / "absent").has_value());
  EXPECT_FALSE(readWholeFile(folder.path()).has_value());
  const Bytes big = pattern(200000, 13);  // more than one read chunk
  writePlain(folder.path() / "big", big);
  EXPECT_EQ(readWholeFile(folder.path() / "big"), big);
}

TEST(FileIo, FileExistsOnlyForFiles) {
  const TempFolder folder;
  writePlain(folder.path() / "file", {1});
  EXPECT_TRUE(fileExists(folder.path() / "file"));
  EXPECT_FALSE(fileExists(folder.path()));
  EXPECT_FALSE(fileExists(folder.path() / "absent"));
}

TEST(FileIo, PathForMessageIsCp932) {
  const std::filesystem::path path(u8"usr/テストワールド.dat");
  EXPECT_EQ(pathForMessage(path), "usr/" + utf8ToCp932("テストワールド").value() + ".dat");
#ifndef _WIN32
  // Not valid UTF-8: shown as it is rather than lost. (Windows names are
  // UTF-16, which always converts.)
  EXPECT_EQ(pathForMessage(std::filesystem::path("bad\xff.dat")), "bad\xff.dat");
#endif
}

}  // namespace
}  // namespace ws::platform
