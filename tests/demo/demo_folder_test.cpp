#include "demo/demo_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo/demo_start.h"
#include "editor/editor_messages.h"
#include "platform/file_io.h"
#include "support/file_size_limit.h"
#include "support/scoped_test_env.h"

namespace ws::demo {
namespace {

namespace fs = std::filesystem;
using platform::testing::TempFolder;

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Every file of the demo with exactly its bytes, and the marker.
void expectCompleteDemo(const fs::path& folder) {
  static const std::vector<DemoFile> files = demoGameFiles();
  for (const DemoFile& file : files) {
    EXPECT_EQ(bytesOf(folder / file.relativePath), file.bytes) << file.relativePath;
  }
  EXPECT_TRUE(fs::is_directory(folder / "usr"));
  EXPECT_TRUE(isCompleteDemoFolder(folder));
}

// The names in `parent`: after any write, only the target may be there.
std::vector<std::string> entriesOf(const fs::path& parent) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(parent)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// What a window finds in its demo folder decides what is written: nothing
// when complete; a folder cut short, or one from a version without the
// marker, is replaced whole (its stray files go with it), but the saves the
// user kept in its "usr" folder stay.
TEST(DemoFolder, IncompleteFoldersAreWrittenAgainAndCompleteOnesLeftAlone) {
  struct Case {
    const char* name;
    void (*prepare)(const fs::path& folder);
    bool strayFileStays;
  };
  const Case cases[] = {
      {"no folder", [](const fs::path&) {}, false},
      {"complete", [](const fs::path& f) { ASSERT_FALSE(writeDemoFolder(f)); }, true},
      {"older version without marker", [](const fs::path& f) { ASSERT_TRUE(makeDemoGame(f).ok()); },
       false},
      {"cut short after the catalogue",
       [](const fs::path& f) {
         ASSERT_TRUE(makeDemoGame(f).ok());
         fs::remove_all(f / "data");
       },
       false},
      {"marker of another seed",
       [](const fs::path& f) { ASSERT_FALSE(writeDemoFolder(f, kDefaultDemoSeed + 1)); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder parent("demo-parent");
    const fs::path folder = parent.path() / "demo-game";
    c.prepare(folder);
    const bool existed = fs::exists(folder);
    if (existed) {
      writeText(folder / "stray.txt", "x");
      fs::create_directories(folder / "usr");
      writeText(folder / "usr" / "mine.dat", "save");
    }
    const Result<fs::path> prepared = prepareDemoGame(folder);
    ASSERT_TRUE(prepared.ok()) << prepared.error().detail;
    expectCompleteDemo(folder);
    EXPECT_EQ(fs::exists(folder / "stray.txt"), c.strayFileStays);
    EXPECT_EQ(fs::exists(folder / "usr" / "mine.dat"), existed);
    EXPECT_EQ(entriesOf(parent.path()), std::vector<std::string>{"demo-game"});
  }
}

// A disk that fills up halfway: nothing is left beside or in place of the
// target, the message names the folder and the reason, and the next start
// writes the complete demo.
TEST(DemoFolder, AWriteThatFailsHalfwayLeavesNothingAndTheNextOneCompletes) {
  if (!platform::testing::kCanLimitFileSize) GTEST_SKIP() << "no file size limit here";
  const TempFolder parent("demo-full");
  const fs::path folder = parent.path() / "demo-game";
  {
    // The catalogue fits, the larger area map files do not.
    const platform::testing::FileSizeLimit limit(demoCatalogueFile().size() + 16);
    ASSERT_TRUE(limit.active());
    const Result<fs::path> prepared = prepareDemoGame(folder);
    ASSERT_FALSE(prepared.ok());
    EXPECT_EQ(prepared.error().message,
              editor::demoWriteFailedMessage(folder, editor::kDemoReasonNoSpace));
    EXPECT_NE(prepared.error().detail.find("cannot write"), std::string::npos);
  }
  EXPECT_TRUE(entriesOf(parent.path()).empty());
  ASSERT_TRUE(prepareDemoGame(folder).ok());
  expectCompleteDemo(folder);
}

// Into a folder that holds other files (the command line's --force): the
// demo's files replace those of the same names, the others stay.
TEST(DemoFolder, MergeKeepsOtherFilesAndReplacesTheDemosOwn) {
  const TempFolder parent("demo-merge");
  const fs::path folder = parent.path() / "game";
  fs::create_directories(folder / "res");
  writeText(folder / "keep.txt", "mine");
  writeText(folder / "res" / "Mif_area.bin", "old");
  ASSERT_FALSE(writeDemoFolder(folder, kDefaultDemoSeed, ExistingFolder::Merge));
  expectCompleteDemo(folder);
  EXPECT_EQ(bytesOf(folder / "keep.txt"), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
  EXPECT_EQ(entriesOf(parent.path()), std::vector<std::string>{"game"});
}

}  // namespace
}  // namespace ws::demo
