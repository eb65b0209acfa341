// Which file a catalogue name opens, and how a file that cannot be read is
// reported: the editor's preview, placement, saving and loading and the
// command line's build all read area map files through readAreaMapFile.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "demo/demo_game.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"
#include "world/placement.h"
#include "world/world_messages.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace ws::world {
namespace {

namespace fs = std::filesystem;

std::string cp932(const char* utf8) {
  return platform::utf8ToCp932(utf8).value();
}

TEST(AreaMapReading, NamesThatLeaveTheAreaFolderNameNoFile) {
  const platform::testing::TempFolder folder;
  const fs::path game = folder.path() / "game";
  ASSERT_TRUE(demo::makeDemoGame(game).ok());
  const fs::path areaFolder = game / "data" / "map" / "mif" / "area";
  // A valid area map file wherever a name could lead outside the folder,
  // so that only the name check stands between it and the editor.
  const fs::path valid = areaFolder / fs::path(u8"ソラの門");
  fs::copy_file(valid, areaFolder.parent_path() / "x");
#ifndef _WIN32
  fs::copy_file(valid, areaFolder / "..\\x");  // one plain name here, a way up on Windows
  fs::copy_file(valid, areaFolder / "C:x");
#endif

  struct Case {
    std::string name;  // CP932
    bool readable;
  };
  const std::vector<Case> cases = {
      {cp932("ソラの門"), true},  // 83 5C: the second byte is no separator
      {cp932("表の草原"), true},  // 95 5C
      {"../x", false},
      {"..\\x", false},
      {"C:x", false},
      {".", false},
      {"..", false},
      {". .", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::cp932ToUtf8(c.name));
    const gamedata::AreaCatalogue catalogue{c.name};
    const auto file = readAreaMapFile(game, catalogue, 0);
    ASSERT_EQ(file.ok(), c.readable) << (file.ok() ? "" : file.error().message);
    if (c.readable) {
      EXPECT_TRUE(file->isValid());
    } else {
      EXPECT_EQ(file.error().message, fileMissingMessage(platform::areaMapFilePath(game, c.name)));
    }
  }
}

TEST(AreaMapReading, UnreadableEntriesAndFilesSayWhatIsWrong) {
  const platform::testing::TempFolder folder;
  const fs::path game = folder.path() / "game";
  ASSERT_TRUE(demo::makeDemoGame(game).ok());
  const fs::path areaFolder = game / "data" / "map" / "mif" / "area";
  const std::string catalogueName = platform::pathForMessage(platform::cataloguePath(game));
  gamedata::AreaCatalogue catalogue{"", "nothing", "folder", "huge"};
  fs::create_directory(areaFolder / "folder");
  std::ofstream(areaFolder / "huge").put('x');
  fs::resize_file(areaFolder / "huge", gamedata::kMaxAreaMapFileSize + 1);
#ifndef _WIN32
  catalogue.insert(catalogue.end(), {"fifo", "zero"});
  ASSERT_EQ(mkfifo((areaFolder / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", areaFolder / "zero");
#endif
  const auto messageOf = [&](int area) {
    const auto file = readAreaMapFile(game, catalogue, area);
    return file.ok() ? std::string("read") : file.error().message;
  };
  EXPECT_EQ(messageOf(0), "area 0 has an empty name in the catalogue " + catalogueName);
  EXPECT_EQ(messageOf(1), fileMissingMessage(areaFolder / "nothing"));
  for (int area = 2; area < static_cast<int>(catalogue.size()); ++area) {
    SCOPED_TRACE(catalogue[static_cast<std::size_t>(area)]);
    EXPECT_EQ(messageOf(area),
              fileUnreadableMessage(areaFolder / catalogue[static_cast<std::size_t>(area)]));
  }
}

}  // namespace
}  // namespace ws::world
