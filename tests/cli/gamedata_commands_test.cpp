#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_runner.h"
#include "cli/commands.h"
#include "cli/utf8_arguments.h"
#include "demo/demo_game.h"
#include "gamedata/area_map_file.h"
#include "gamedata/area_preview.h"
#include "support/scoped_test_env.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace ws::cli {
namespace {

using nlohmann::json;

class GameDataCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = platform::testing::uniqueTestFolder("cli-gamedata");
    const Outcome made = run({"demo-game", (folder_ / "game").string()});
    ASSERT_EQ(made.exitCode, kExitSuccess) << made.err;
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

  static Outcome run(std::vector<std::string> args,
                     std::optional<std::filesystem::path> gameDir = std::nullopt) {
    return runCommandLine(std::move(args), gameDir);
  }
  static Outcome inGame(std::vector<std::string> args) { return run(std::move(args), game()); }
  static std::filesystem::path game() { return folder_ / "game"; }

  static inline std::filesystem::path folder_;
};

TEST_F(GameDataCommands, CatalogueListsEveryEntryAsText) {
  const Outcome listed = inGame({"catalogue"});
  ASSERT_EQ(listed.exitCode, kExitSuccess) << listed.err;
  std::istringstream lines(listed.out);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);)
    all.push_back(line);
  ASSERT_EQ(all.size(), 200u);
  EXPECT_EQ(all[0], "0\t始まりの門");
  EXPECT_EQ(all[4], "4\t");
  EXPECT_EQ(all[6], "6\t表の草原");
  EXPECT_EQ(all[199], "199\t");
}

TEST_F(GameDataCommands, CatalogueAsJson) {
  const json entries = json::parse(inGame({"catalogue", "--json"}).out);
  ASSERT_EQ(entries.size(), 200u);
  EXPECT_EQ(entries[15]["index"], 15);
  EXPECT_EQ(entries[15]["name"], "Sunset Harbor");
  EXPECT_EQ(entries[2]["name"], "ソラの門");
}

// Every entry carries its area's facts: what `objects` says of it, and the
// kinds it can take with the reason for those it cannot.
TEST_F(GameDataCommands, CatalogueAsJsonGivesEveryAreasFacts) {
  const json entries = json::parse(inGame({"catalogue", "--json"}).out);
  ASSERT_EQ(entries.size(), 200u);
  std::vector<bool> described(200, false);
  for (const auto& area : demo::demoAreas()) {
    SCOPED_TRACE(area.utf8Name);
    const json& entry = entries[static_cast<std::size_t>(area.areaNumber)];
    described[static_cast<std::size_t>(area.areaNumber)] = true;
    if (area.file != demo::DemoAreaFile::Valid) {
      EXPECT_EQ(entry["status"], area.file == demo::DemoAreaFile::Missing ? "missing" : "refused");
      EXPECT_TRUE(entry["width"].is_null());
      EXPECT_EQ(entry["kinds"], (json{{"link-gate", false}, {"field", false}, {"town", false}}));
      continue;
    }
    EXPECT_EQ(entry["status"], "ok");
    const json objects =
        json::parse(inGame({"objects", std::to_string(area.areaNumber), "--json"}).out);
    for (const char* key : {"width", "height", "townsfolkSpots"})
      EXPECT_EQ(entry[key], objects[key]) << key;
    EXPECT_EQ(entry["dungeons"], objects["dungeons"].size());
    EXPECT_EQ(entry["houses"], objects["houses"].size());
    for (const char* key : {"church", "tower", "linkGate"})
      EXPECT_EQ(entry[key], !objects[key].is_null()) << key;
    const bool linkGate = area.linkGate && area.dungeons > 0;
    EXPECT_EQ(entry["kinds"],
              (json{{"link-gate", linkGate}, {"field", true}, {"town", area.canBeTown()}}));
    EXPECT_EQ(entry["whyNot"].contains("link-gate"), !linkGate);
    EXPECT_EQ(entry["whyNot"].contains("town"), !area.canBeTown());
    if (!area.church && area.houses >= 3) {
      EXPECT_EQ(entry["whyNot"]["town"], "no church");
    }
    if (area.church && area.houses < 3) {
      EXPECT_EQ(entry["whyNot"]["town"], "fewer than 3 houses");
    }
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!described[i]) {
      EXPECT_EQ(entries[i]["status"], "empty-name") << i;
    }
  }
}

TEST_F(GameDataCommands, ObjectsOfEachDemoAreaMatchItsDescription) {
  for (const auto& area : demo::demoAreas()) {
    if (area.file != demo::DemoAreaFile::Valid) continue;
    SCOPED_TRACE(area.utf8Name);
    const Outcome byName = inGame({"objects", std::string(area.utf8Name), "--json"});
    ASSERT_EQ(byName.exitCode, kExitSuccess) << byName.err;
    const json objects = json::parse(byName.out);
    EXPECT_EQ(objects["area"], area.areaNumber);
    EXPECT_EQ(objects["name"], area.utf8Name);
    EXPECT_EQ(objects["width"], area.width);
    EXPECT_EQ(objects["height"], area.height);
    EXPECT_EQ(objects["dungeons"].size(), static_cast<std::size_t>(area.dungeons));
    EXPECT_EQ(objects["houses"].size(), static_cast<std::size_t>(area.houses));
    EXPECT_EQ(objects["church"].is_null(), !area.church);
    EXPECT_EQ(objects["tower"].is_null(), !area.tower);
    EXPECT_EQ(objects["linkGate"].is_null(), !area.linkGate);
    EXPECT_EQ(objects["townsfolkSpots"], area.townsfolkSpots);

    const Outcome byNumber = inGame({"objects", std::to_string(area.areaNumber), "--json"});
    EXPECT_EQ(byNumber.out, byName.out);
  }
}

TEST_F(GameDataCommands, ObjectsGivesTheQueryResults) {
  const auto file = gamedata::LoadAreaMapFile(game() / u8"data/map/mif/area/始まりの門");
  ASSERT_TRUE(file.ok());
  const auto dungeons = gamedata::QueryAreaObjects(*file, gamedata::KeyDungeon, 255);
  const json objects = json::parse(inGame({"objects", "0", "--json"}).out);
  ASSERT_EQ(objects["dungeons"].size(), dungeons.size());
  for (std::size_t k = 0; k < dungeons.size(); ++k) {
    EXPECT_EQ(objects["dungeons"][k],
              (json{{"number", dungeons[k].index}, {"x", dungeons[k].x}, {"y", dungeons[k].y}}));
  }
  const Outcome text = inGame({"objects", "0"});
  EXPECT_NE(text.out.find("size 128 x 64"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("dungeons: 3"), std::string::npos) << text.out;
}

TEST_F(GameDataCommands, RefusedAndUnknownAreasExitWithTheirMessage) {
  struct Case {
    std::string area;
    std::string message;
  };
  // One line each: the file first (as found, never passed through CP932),
  // then the message and the detail that says what is wrong with it.
  const auto areaFile = [](const char* name) {
    return "worldsmith-cli: " +
           pathToUtf8(game() / "data" / "map" / "mif" / "area" / pathFromUtf8(name)) + ": ";
  };
  const std::vector<Case> cases{
      {"壊れた地図", areaFile("壊れた地図") +
                         "not msg file (the header word at offset 0 is 1212501071, not 72)\n"},
      {"欠けた地図",
       areaFile("欠けた地図") +
           "not msg file (the header promises 123108 bytes for 64 x 64 cells and 3 objects; the "
           "file holds 61512)\n"},
      {"200", "worldsmith-cli: no area 200 in the catalogue (0 to 199)\n"},
      {"4", "worldsmith-cli: area 4 has no name in the catalogue " +
                (game() / "res" / "Mif_area.bin").string() + "\n"},
      {"どこにもない", "worldsmith-cli: no area named どこにもない in the catalogue\n"},
  };
  for (const auto& c : cases) {
    for (const char* command : {"objects", "preview"}) {
      std::vector<std::string> args{command, c.area};
      if (std::string(command) == "preview") {
        args.insert(args.end(), {"-o", (folder_ / "refused.png").string()});
      }
      const Outcome refused = inGame(args);
      EXPECT_EQ(refused.exitCode, kExitBadInput) << c.area;
      EXPECT_EQ(refused.err, c.message) << command;
      EXPECT_EQ(refused.out, "");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder_ / "refused.png"));
  const Outcome missing = inGame({"objects", "幻の島"});
  EXPECT_EQ(missing.exitCode, kExitBadInput);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
  const Outcome noGame = run({"catalogue"}, folder_ / "nowhere");
  EXPECT_EQ(noGame.exitCode, kExitBadInput);
}

TEST_F(GameDataCommands, PreviewIsThePictureTheEditorShowsEnlarged) {
  const auto png = folder_ / "port.png";
  ASSERT_EQ(inGame({"preview", "港町", "-o", png.string(), "--scale", "3"}).exitCode, kExitSuccess);
  int width = 0, height = 0, channels = 0;
  std::ifstream pngFile(png, std::ios::binary);
  const std::string pngBytes((std::istreambuf_iterator<char>(pngFile)),
                             std::istreambuf_iterator<char>());
  unsigned char* rgb =
      stbi_load_from_memory(reinterpret_cast<const unsigned char*>(pngBytes.data()),
                            static_cast<int>(pngBytes.size()), &width, &height, &channels, 3);
  ASSERT_NE(rgb, nullptr);
  ASSERT_EQ(width, 3 * gamedata::kPreviewWidth);
  ASSERT_EQ(height, 3 * gamedata::kPreviewHeight);
  auto pixel = [&](int x, int y) {
    const unsigned char* at = rgb + 3 * (y * width + x);
    return static_cast<canvas::Colour>(at[0] | at[1] << 8 | at[2] << 16);
  };

  // Every block of 3 x 3 is one preview pixel: the map where no marker is.
  const auto file = gamedata::LoadAreaMapFile(game() / u8"data/map/mif/area/港町");
  ASSERT_TRUE(file.ok());
  canvas::Canvas map(gamedata::kPreviewWidth, gamedata::kPreviewHeight);
  ASSERT_TRUE(gamedata::DrawAreaMap(*file, map).ok());
  int sameAsMap = 0;
  for (int y = 0; y < gamedata::kPreviewHeight; ++y) {
    for (int x = 0; x < gamedata::kPreviewWidth; ++x) {
      EXPECT_EQ(pixel(3 * x, 3 * y), pixel(3 * x + 2, 3 * y + 2));
      sameAsMap += pixel(3 * x + 1, 3 * y + 1) == map.pixel(x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(sameAsMap, 128 * 64 * 9 / 10);
  // The church marker is yellow throughout, house markers white inside.
  const auto church = gamedata::QueryAreaObjects(*file, gamedata::KeyChurch, 1).at(0);
  EXPECT_EQ(pixel(3 * (church.x / 2), 3 * (church.y / 2 + 5)), gamedata::kMarkerYellow);
  const auto house = gamedata::QueryAreaObjects(*file, gamedata::KeyHouse, 1).at(0);
  EXPECT_EQ(pixel(3 * (house.x / 2), 3 * (house.y / 2 + 5)), canvas::kWhite);
  EXPECT_EQ(pixel(3 * (house.x / 2), 3 * (house.y / 2 + 2)), gamedata::kMarkerCyan);
  stbi_image_free(rgb);
}

}  // namespace
}  // namespace ws::cli
