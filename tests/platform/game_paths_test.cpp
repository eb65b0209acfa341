#include "platform/game_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/text.h"
#include "support/scoped_test_env.h"

namespace ws::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempFolder;

std::string cp932(const char* utf8) {
  return utf8ToCp932(utf8).value();
}

void touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

TEST(GamePathsTest, DirectoryPartFollowsTheDelimiterRule) {
  const struct {
    std::string path;
    std::string folder;
  } cases[] = {
      {"C:\\Games\\X\\", "C:\\Games\\X"},
      {"C:\\Games\\X\\rv7.exe", "C:\\Games\\X"},
      {"C:\\Games\\X", "C:\\Games"},  // the last component counts as a file name
      {"C:\\", "C:\\"},
      {"C:", "C:"},
      {"C:rv7.exe", "C:"},
      {"rv7.exe", ""},
      {"", ""},
      {"\\", "\\"},
      {"\\rv7.exe", "\\"},
      {"C:\\Games\\\\rv7.exe", "C:\\Games\\\\"},  // two separators meet
      {"\\\\server\\share\\rv7.exe", "\\\\server\\share"},
      // Double-byte characters whose second byte is "\" are never cut.
      {cp932("C:\\ゲーム\\ソフト\\rv7.exe"), cp932("C:\\ゲーム\\ソフト")},
      {cp932("C:\\表\\"), cp932("C:\\表")},
      {cp932("C:\\Games\\表"), "C:\\Games"},
      {cp932("C:\\ソ"), "C:\\"},
      {cp932("表\\"), cp932("表")},
      {cp932("ソ"), ""},
      {"C:\\x\\\x81", "C:\\x"},  // a lead byte cut off at the end is a byte of its own
  };
  for (const auto& c : cases) {
    EXPECT_EQ(directoryPart(c.path), c.folder) << cp932ToUtf8(c.path);
  }
}

TEST(GamePathsTest, JapaneseFolderBytesMatchTheConverter) {
  // "ソ" and "表" are the classic CP932 characters whose second byte is "\".
  EXPECT_EQ(cp932("ソ"), "\x83\x5C");
  EXPECT_EQ(cp932("表"), "\x95\x5C");
}

TEST(GamePathsTest, ResolvesComponentsRegardlessOfCase) {
  TempFolder game;
  touch(game.path() / "RES" / "MIF_AREA.BIN");
  touch(game.path() / "Data" / "MAP" / "mif" / "Area" / "town01.MAP");
  fs::create_directories(game.path() / "USR");

#ifdef _WIN32
  // Windows itself finds names regardless of case: the path need only name the file.
  EXPECT_TRUE(fs::equivalent(cataloguePath(game.path()), game.path() / "RES" / "MIF_AREA.BIN"));
  EXPECT_TRUE(fs::equivalent(saveFolderPath(game.path()), game.path() / "USR"));
  EXPECT_TRUE(fs::equivalent(areaMapFilePath(game.path(), "TOWN01.map"),
                             game.path() / "Data" / "MAP" / "mif" / "Area" / "town01.MAP"));
#else
  EXPECT_EQ(cataloguePath(game.path()), game.path() / "RES" / "MIF_AREA.BIN");
  EXPECT_EQ(saveFolderPath(game.path()), game.path() / "USR");
  EXPECT_EQ(areaMapFilePath(game.path(), "TOWN01.map"),
            game.path() / "Data" / "MAP" / "mif" / "Area" / "town01.MAP");
#endif
}

TEST(GamePathsTest, PrefersExactSpellingAndKeepsMissingNamesAsSpelled) {
  TempFolder game;
  fs::create_directories(game.path() / "usr");
  fs::create_directories(game.path() / "USR");
  touch(game.path() / "res" / "other.bin");

  EXPECT_EQ(saveFolderPath(game.path()), game.path() / "usr");
  EXPECT_EQ(cataloguePath(game.path()), game.path() / "res" / "Mif_area.bin");
  EXPECT_EQ(resolveGamePath(game.path(), fs::path("none") / "RES"), game.path() / "none" / "RES");
  EXPECT_EQ(resolveGamePath(game.path() / "missing", "res"), game.path() / "missing" / "res");
}

TEST(GamePathsTest, AreaMapFileNameIsConvertedFromCp932) {
  TempFolder game;
  const fs::path area = game.path() / "data" / "map" / "mif" / "area";
  touch(area / fs::path(u8"洞窟.map"));
  EXPECT_EQ(areaMapFilePath(game.path(), cp932("洞窟.map")), area / fs::path(u8"洞窟.map"));
}

// Wine prefixes are read only off Windows; Windows has its own drives and
// registry.
#ifndef _WIN32

// A Wine prefix with drive C: pointing at a folder of its own.
class WinePrefixTest : public ::testing::Test {
 protected:
  WinePrefixTest() {
    fs::create_directories(prefix_.path() / "dosdevices");
    fs::create_directory_symlink(drive_.path(), prefix_.path() / "dosdevices" / "c:");
  }

  void writeSystemReg(const std::string& bootDirectory) {
    std::ofstream(prefix_.path() / "system.reg")
        << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
        << "[Software\\\\Wow6432Node\\\\TOLVERA\\\\RV7] 1700000000\n"
        << "\"BootDirectory\"=\"" << bootDirectory << "\"\n";
  }

  TempFolder prefix_;
  TempFolder drive_;
  ScopedEnv winePrefix_{"WINEPREFIX", prefix_.path().string()};
  ScopedEnv gameDir_{"WORLDSMITH_GAME_DIR", std::nullopt};
};

TEST_F(WinePrefixTest, MapsDriveLetterPathsThroughDosdevices) {
  const fs::path games = drive_.path() / "Games" / fs::path(u8"ソフト");
  fs::create_directories(games);
  const fs::path drive = prefix_.path() / "dosdevices" / "c:";
  const struct {
    std::string windowsPath;
    std::optional<fs::path> native;
  } cases[] = {
      {cp932("C:\\Games\\ソフト"), drive / "Games" / fs::path(u8"ソフト")},
      {cp932("c:\\GAMES\\ソフト"), drive / "Games" / fs::path(u8"ソフト")},
      {cp932("C:/Games//ソフト\\"), drive / "Games" / fs::path(u8"ソフト")},
      {"C:\\", drive},
      {"C:", drive},
      {"C:\\Missing\\Folder", drive / "Missing" / "Folder"},
      {"Games\\X", std::nullopt},
      {"\\Games\\X", std::nullopt},
      {"\\\\server\\share", std::nullopt},
      {"C:Games", std::nullopt},
      {"1:\\x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(nativeFolderFromWindowsPath(c.windowsPath), c.native) << cp932ToUtf8(c.windowsPath);
  }
}

TEST_F(WinePrefixTest, LocatesGameFolderThroughRegistryAlone) {
  touch(drive_.path() / "Games" / "RV7" / "res" / "Mif_area.bin");
  writeSystemReg("C:\\\\GAMES\\\\rv7\\\\rv7.exe");
  const auto folder = locateGameFolder();
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(*folder, prefix_.path() / "dosdevices" / "c:" / "Games" / "RV7");
  EXPECT_TRUE(fs::exists(cataloguePath(*folder)));
}

TEST_F(WinePrefixTest, OverridesTakePrecedenceOverTheRegistry) {
  writeSystemReg("C:\\\\Games\\\\RV7\\\\");
  {
    ScopedEnv gameDir("WORLDSMITH_GAME_DIR", "/env/game");
    EXPECT_EQ(locateGameFolder(), fs::path("/env/game"));
    EXPECT_EQ(locateGameFolder(fs::path("/option/game")), fs::path("/option/game"));
  }
  EXPECT_EQ(locateGameFolder(), prefix_.path() / "dosdevices" / "c:" / "Games" / "RV7");
}

TEST_F(WinePrefixTest, NoFolderWithoutRegistryValue) {
  EXPECT_EQ(locateGameFolder(), std::nullopt);  // no system.reg
  writeSystemReg("rv7.exe");                    // no folder part
  EXPECT_EQ(locateGameFolder(), std::nullopt);
  writeSystemReg("");
  EXPECT_EQ(locateGameFolder(), std::nullopt);
}

#endif

}  // namespace
}  // namespace ws::platform
