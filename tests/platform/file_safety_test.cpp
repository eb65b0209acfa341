// Reading never waits or takes more than a ceiling; writing never replaces
// what is not the file being written.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_io.h"
#include "support/file_reading.h"
#include "support/scoped_test_env.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#endif

namespace ws::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

void writePlain(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

TEST(FileSafety, ReadingTakesOnlyRegularFilesUpToTheCeiling) {
  struct Case {
    const char* name;
    std::function<fs::path(const fs::path&)> make;  // returns the path to read
    std::uint64_t ceiling;
    OverCeiling over;
    ReadFailure failure;
    std::size_t size;  // bytes read when it succeeds
  };
  const std::vector<Case> cases = {
      {"RegularFile",
       [](const fs::path& f) {
         writePlain(f / "a", pattern(100));
         return f / "a";
       },
       100, OverCeiling::Refuse, ReadFailure::None, 100},
      {"Missing", [](const fs::path& f) { return f / "absent"; }, 100, OverCeiling::Refuse,
       ReadFailure::NotFound, 0},
      {"Folder", [](const fs::path& f) { return f; }, 100, OverCeiling::Refuse,
       ReadFailure::NotAFile, 0},
      {"LargerThanTheCeiling",
       [](const fs::path& f) {
         writePlain(f / "a", pattern(101));
         return f / "a";
       },
       100, OverCeiling::Refuse, ReadFailure::TooLarge, 0},
      {"PrefixOfALargerFile",
       [](const fs::path& f) {
         writePlain(f / "a", pattern(5000));
         return f / "a";
       },
       100, OverCeiling::ReadPrefix, ReadFailure::None, 100},
#ifdef _WIN32
      {"Device", [](const fs::path&) { return fs::path("NUL"); }, 100, OverCeiling::Refuse,
       ReadFailure::NotAFile, 0},
#else
      {"Fifo",
       [](const fs::path& f) {
         EXPECT_EQ(mkfifo((f / "fifo").c_str(), 0600), 0);
         return f / "fifo";
       },
       100, OverCeiling::Refuse, ReadFailure::NotAFile, 0},
      {"LinkToDevZero",
       [](const fs::path& f) {
         fs::create_symlink("/dev/zero", f / "zero");
         return f / "zero";
       },
       100, OverCeiling::ReadPrefix, ReadFailure::NotAFile, 0},
      {"LinkLoop",
       [](const fs::path& f) {
         fs::create_symlink(f / "b", f / "a");
         fs::create_symlink(f / "a", f / "b");
         return f / "a";
       },
       100, OverCeiling::Refuse, ReadFailure::NotAFile, 0},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder folder;
    const fs::path path = c.make(folder.path());
    const FileRead read = readRegularFile(path, c.ceiling, c.over);
    EXPECT_EQ(read.failure, c.failure);
    EXPECT_EQ(read.bytes.size(), c.size);
    if (c.failure != ReadFailure::None) {
      EXPECT_NE(read.message.find(pathForMessage(path)), std::string::npos) << read.message;
    } else {
      EXPECT_EQ(read.bytes, Bytes(pattern(c.size)));
    }
  }
}

TEST(FileSafety, TemporaryNameLeavesRoomForLongTargetNames) {
  const TempFolder folder;
  const fs::path target = folder.path() / std::string(255, 'n');
  ASSERT_TRUE(writeFileAtomic(target, pattern(10)).ok());
  ASSERT_TRUE(writeFileAtomic(target, pattern(20)).ok());
  EXPECT_EQ(testing::readWholeFile(target), pattern(20));
  EXPECT_EQ(namesIn(folder.path()).size(), 1u);
}

// A new file is only ever made, never written through what is already
// there: neither a file nor a link is opened, and what they name stays.
TEST(FileSafety, NewFileIsWrittenOnlyWhereNothingIsYet) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& folder)> prepare;  // what is at "new.dat" first
    bool written;
  };
  const Case cases[] = {
      {"nothing there", [](const fs::path&) {}, true},
      {"a file", [](const fs::path& f) { writePlain(f / "new.dat", pattern(3)); }, false},
#ifndef _WIN32
      {"a link to a file",
       [](const fs::path& f) {
         writePlain(f / "other.dat", pattern(3));
         fs::create_symlink("other.dat", f / "new.dat");
       },
       false},
      {"a dangling link", [](const fs::path& f) { fs::create_symlink("gone.dat", f / "new.dat"); },
       false},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder folder;
    c.prepare(folder.path());
    const std::vector<std::string> before = namesIn(folder.path());
    const std::error_code error = writeNewFile(folder.path() / "new.dat", pattern(70000));
    if (c.written) {
      EXPECT_FALSE(error) << error.message();
      EXPECT_EQ(testing::readWholeFile(folder.path() / "new.dat"), pattern(70000));
    } else {
      EXPECT_TRUE(error);
#ifndef _WIN32
      EXPECT_EQ(error, std::errc::file_exists) << error.message();
#endif
      EXPECT_EQ(namesIn(folder.path()), before);
      EXPECT_FALSE(fs::exists(folder.path() / "gone.dat"));
      if (fs::exists(folder.path() / "other.dat")) {
        EXPECT_EQ(testing::readWholeFile(folder.path() / "other.dat"), pattern(3));
      }
      if (!fs::is_symlink(fs::symlink_status(folder.path() / "new.dat"))) {
        EXPECT_EQ(testing::readWholeFile(folder.path() / "new.dat"), pattern(3));
      }
    }
  }
}

#ifdef _WIN32

TEST(FileSafety, DeviceTargetIsWrittenNotReplaced) {
  ASSERT_TRUE(writeFileAtomic("NUL", pattern(10)).ok());
}

#else

// Runs `body` in a child process as the unprivileged user "nobody" and
// gives its exit status; -1 when the child could not drop to that user.
int asNobody(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 100) return -1;
  return WEXITSTATUS(status);
}

TEST(FileSafety, PermissionIsRefusedWithTheSystemsReason) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const TempFolder folder;
  fs::permissions(folder.path(), fs::perms::all);  // anyone may create files here
  const fs::path secret = folder.path() / "secret.dat";
  const fs::path readOnly = folder.path() / "readonly.dat";
  writePlain(secret, pattern(10));
  writePlain(readOnly, pattern(10));
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  // 0: refused as expected; 1: the file was read or replaced.
  EXPECT_EQ(asNobody([&] {
              const FileRead read = readRegularFile(secret, 100);
              return read.failure == ReadFailure::Denied &&
                             read.message.find("secret.dat") != std::string::npos
                         ? 0
                         : 1;
            }),
            0);
  EXPECT_EQ(asNobody([&] {
              const Status written = writeFileAtomic(readOnly, pattern(20));
              return !written.ok() &&
                             written.error().message.find("readonly.dat") != std::string::npos
                         ? 0
                         : 1;
            }),
            0);
  EXPECT_EQ(testing::readWholeFile(readOnly), pattern(10));
  struct stat after {};
  ASSERT_EQ(stat(readOnly.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, 0u);
  EXPECT_EQ(namesIn(folder.path()).size(), 2u);
}

TEST(FileSafety, ReplacedFileKeepsModeOwnerAndGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  const TempFolder folder;
  const fs::path target = folder.path() / "RVTSV1.dat";
  writePlain(target, pattern(10));
  ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod(target.c_str(), 0664), 0);  // more than the usual umask lets through
  ASSERT_TRUE(writeFileAtomic(target, pattern(30)).ok());
  struct stat after {};
  ASSERT_EQ(stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, 65534u);
  EXPECT_EQ(after.st_gid, 65534u);
  EXPECT_EQ(after.st_mode & 07777, 0664u);
  EXPECT_EQ(testing::readWholeFile(target), pattern(30));
}

TEST(FileSafety, SpecialTargetsAreWrittenInPlace) {
  const TempFolder folder;
  const fs::path& f = folder.path();
  fs::create_directory(f / "real");
  writePlain(f / "real" / "save.dat", pattern(5));

  // A link, relative and into another folder: the file it names is replaced
  // there, and the link stays a link.
  fs::create_symlink(fs::path("real") / "save.dat", f / "link.dat");
  ASSERT_TRUE(writeFileAtomic(f / "link.dat", pattern(40)).ok());
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(f / "link.dat")));
  EXPECT_EQ(testing::readWholeFile(f / "real" / "save.dat"), pattern(40));
  EXPECT_EQ(namesIn(f / "real").size(), 1u);

  // A dangling link makes the file it names.
  fs::create_symlink(fs::path("real") / "new.dat", f / "dangling.dat");
  ASSERT_TRUE(writeFileAtomic(f / "dangling.dat", pattern(7)).ok());
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(f / "dangling.dat")));
  EXPECT_EQ(testing::readWholeFile(f / "real" / "new.dat"), pattern(7));

  // A FIFO gets the bytes through itself and stays a FIFO.
  ASSERT_EQ(mkfifo((f / "fifo").c_str(), 0600), 0);
  Bytes received;
  std::thread reader([&] {
    std::ifstream in(f / "fifo", std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  const Status toFifo = writeFileAtomic(f / "fifo", pattern(3000));
  reader.join();
  ASSERT_TRUE(toFifo.ok());
  EXPECT_EQ(received, pattern(3000));
  EXPECT_TRUE(fs::is_fifo(f / "fifo"));

  // A copy of /dev/null, made here so that the real one is never at risk.
  if (mknod((f / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    ASSERT_TRUE(writeFileAtomic(f / "null", pattern(100)).ok());
    EXPECT_TRUE(fs::is_character_file(f / "null"));
  }
  for (const std::string& name : namesIn(f))
    EXPECT_NE(name[0], '.') << name;
}

TEST(FileSafety, InterruptRemovesTheTemporaryFileAndExitsWithTheSignal) {
  struct Case {
    int signal;
    int exitCode;
  };
  for (const Case c : {Case{SIGINT, 130}, Case{SIGTERM, 143}, Case{SIGHUP, 129}}) {
    SCOPED_TRACE(c.signal);
    const TempFolder folder;
    const fs::path target = folder.path() / "out.dat";
    const pid_t child = fork();
    if (child == 0) {
      removeTemporaryFileOnInterrupt();
      const Bytes big(16 << 20, 1);
      for (;;)
        (void)writeFileAtomic(target, big);
    }
    // Wait until a write is under way: its hidden temporary file is there.
    std::string temporary;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (temporary.empty() && std::chrono::steady_clock::now() < deadline) {
      std::error_code error;
      for (const auto& entry : fs::directory_iterator(folder.path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".out.dat.", 0) == 0) temporary = name;
      }
    }
    kill(child, c.signal);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_FALSE(temporary.empty());
    EXPECT_EQ(temporary.size(), std::string(".out.dat.XXXXXX").size());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
    for (const std::string& name : namesIn(folder.path()))
      EXPECT_EQ(name, "out.dat");
  }
}

#endif

}  // namespace
}  // namespace ws::platform
