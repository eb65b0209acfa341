// Temporary names beside a target: hidden, fitting the file system's limit,
// and tried again only while the name itself is what stands in the way.
#include "platform/sibling_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scoped_test_env.h"

namespace ws::platform {
namespace {

namespace fs = std::filesystem;
using Native = fs::path::string_type;

Native nativeOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end())).native();
}

TEST(SiblingNames, NamesAreHiddenBesideTheTargetAndFitTheLimit) {
  struct Case {
    const char* name;
    std::string target;  // UTF-8
    std::string tag;
  };
  std::string kana;
  for (int i = 0; i < 85; ++i)
    kana += "\xE3\x81\x82";  // 255 bytes on POSIX, 85 units on Windows
  const Case cases[] = {
      {"short", "save.dat", ""},
      {"short with tag", "demo-game", "tmp-"},
      {"longest name", std::string(255, 'n'), ""},
      {"longest name with tag", std::string(255, 'n'), "old-"},
      {"multibyte name", kana, "tmp-"},
  };
  const fs::path folder = fs::path("some") / "folder";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Native original = nativeOf(c.target);
    const fs::path name = temporarySiblingName(folder / nativeOf(c.target), c.tag);
    EXPECT_EQ(name.parent_path(), folder);
    const Native file = name.filename().native();
    ASSERT_LE(file.size(), 255u);
    const std::size_t kept = file.size() - 2 - c.tag.size() - kSiblingSuffixLength;
    EXPECT_EQ(file.substr(0, 1 + kept), nativeOf(".") + original.substr(0, kept));
    EXPECT_EQ(file.substr(1 + kept, 1 + c.tag.size()), nativeOf("." + c.tag));
    // Whole characters only: the cut never lands inside a UTF-8 sequence.
    if constexpr (sizeof(Native::value_type) == 1) {
      EXPECT_TRUE(kept == original.size() || (original[kept] & 0xC0) != 0x80) << kept;
    }
  }
}

// `make` is told which names to find taken; what it returns after that
// decides whether the search goes on.
TEST(SiblingNames, OnlyATakenNameIsTriedAgain) {
  struct Case {
    const char* name;
    int takenFirst;             // how many attempts find their name taken
    std::error_code afterward;  // what the next attempt returns
    std::error_code expected;
    int attempts;  // expected calls of `make`
  };
  const std::error_code denied = std::make_error_code(std::errc::permission_denied);
  const std::error_code taken = std::make_error_code(std::errc::file_exists);
  const Case cases[] = {
      {"free at once", 0, {}, {}, 1},
      {"free after three taken", 3, {}, {}, 4},
      {"another error ends the search", 2, denied, denied, 3},
      {"every name taken", 1000, {}, taken, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<fs::path> tried;
    const MadeSibling made = makeFreshSibling("folder/save.dat", "", [&](const fs::path& name) {
      tried.push_back(name);
      return static_cast<int>(tried.size()) <= c.takenFirst ? taken : c.afterward;
    });
    EXPECT_EQ(static_cast<int>(tried.size()), c.attempts);
    EXPECT_EQ(made.error, c.expected);
    EXPECT_EQ(made.path, made.ok() ? tried.back() : fs::path());
    if (tried.size() > 1) {
      EXPECT_NE(tried[0], tried[1]);
    }
  }
}

TEST(SiblingNames, TemporaryFolderIsNewAndEmpty) {
  const testing::TempFolder parent("sibling");
  const fs::path target = parent.path() / "game";
  fs::create_directory(target);
  const MadeSibling first = makeTemporaryFolderBeside(target, "tmp-");
  const MadeSibling second = makeTemporaryFolderBeside(target, "tmp-");
  ASSERT_TRUE(first.ok()) << first.error.message();
  ASSERT_TRUE(second.ok()) << second.error.message();
  EXPECT_NE(first.path, second.path);
  for (const fs::path& made : {first.path, second.path}) {
    EXPECT_EQ(made.parent_path(), parent.path());
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_TRUE(fs::is_empty(made));
  }
  // A folder that cannot hold anything new ends the search with its reason.
  const MadeSibling missing = makeTemporaryFolderBeside(parent.path() / "no" / "game", "tmp-");
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.error, std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace ws::platform
