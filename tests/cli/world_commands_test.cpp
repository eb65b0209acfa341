#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_runner.h"
#include "cli/commands.h"
#include "codec/save_container.h"
#include "demo/demo_game.h"
#include "gamedata/area_catalogue.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"

namespace ws::cli {
namespace {

using nlohmann::json;

class WorldCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = platform::testing::uniqueTestFolder("cli-world");
    ASSERT_TRUE(demo::makeDemoGame(folder_ / "game").ok());
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

  static Outcome run(std::vector<std::string> args, bool withGame = true) {
    return runCommandLine(
        std::move(args),
        withGame ? std::optional<std::filesystem::path>(folder_ / "game") : std::nullopt);
  }

  static std::string file(const std::string& name, const std::string& text) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  static Outcome build(const std::string& world, const std::string& save = "out.dat") {
    return run({"build", file("world.json", world), "-o", (folder_ / save).string()});
  }

  // Catalogue entry `area`'s name, UTF-8.
  static std::string areaName(int area) {
    const auto catalogue =
        gamedata::LoadAreaCatalogue(platform::cataloguePath(folder_ / "game")).value();
    return platform::cp932ToUtf8(catalogue[static_cast<std::size_t>(area)]);
  }

  static std::filesystem::path folder_;
};

std::filesystem::path WorldCommands::folder_;

// The worked world: "星降る門" with its dungeon (number 1) and the town
// "山あいの里" with its three houses, listed out of order.
const std::string kWorkedWorld = R"({"areas": [
  {"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]},
  {"area": "山あいの里", "kind": "town", "x": 128, "y": 0, "objects": [3, 1, 2], "slot": 3}]})";

TEST_F(WorldCommands, BuildWritesTheWorldAndInfoShowsWhatLoadingRestores) {
  const Outcome built = build(kWorkedWorld);
  ASSERT_EQ(built.exitCode, kExitSuccess) << built.err;
  const Outcome shown = run({"info", (folder_ / "out.dat").string(), "--json"});
  ASSERT_EQ(shown.exitCode, kExitSuccess) << shown.err;
  const json info = json::parse(shown.out);
  EXPECT_EQ(info["name"], "テストワールド");
  EXPECT_EQ(info["bodyLength"], 44749);
  EXPECT_EQ(info["townsfolk"], 9);
  EXPECT_EQ(info["guards"], 4);
  ASSERT_EQ(info["areas"].size(), 2u);
  const json& gate = info["areas"][0];
  EXPECT_EQ(gate["slot"], 0);
  EXPECT_EQ(gate["area"], 1);
  EXPECT_EQ(gate["name"], "星降る門");
  EXPECT_EQ(gate["kind"], "link-gate");
  EXPECT_EQ(gate["width"], 96);
  EXPECT_EQ(gate["objects"], json::array({1}));
  EXPECT_TRUE(gate["special"].is_number());
  const json& town = info["areas"][1];
  EXPECT_EQ(town["kind"], "town");
  EXPECT_EQ(town["x"], 128);
  EXPECT_EQ(town["height"], 48);
  EXPECT_EQ(town["objects"], json::array({1, 2, 3}));  // saved in query order

  const Outcome text = run({"info", (folder_ / "out.dat").string()});
  ASSERT_EQ(text.exitCode, kExitSuccess);
  EXPECT_NE(text.out.find("山あいの里"), std::string::npos);
  EXPECT_NE(text.out.find("guards: 4"), std::string::npos);
}

// The path in the report is UTF-8 whatever the system's code page.
TEST_F(WorldCommands, BuildReportsTheSaveFileItWrote) {
  const Outcome built =
      run({"build", file("world.json", kWorkedWorld), "-o", folder_.string() + "/ワールド.dat"});
  ASSERT_EQ(built.exitCode, kExitSuccess) << built.err;
  EXPECT_EQ(built.out.rfind("wrote ", 0), 0u) << built.out;
  EXPECT_NE(built.out.find("ワールド.dat: 2 areas, body of 44749 bytes\n"), std::string::npos)
      << built.out;
}

TEST_F(WorldCommands, InfoWorksWithoutTheGameAndShowsAFieldWithoutTowerAsNull) {
  const Outcome built = build(R"({"name": "森", "areas": [
      {"area": 6, "kind": "field", "x": 256, "y": 0, "objects": []},
      {"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]}]})");
  ASSERT_EQ(built.exitCode, kExitSuccess) << built.err;
  const Outcome shown = run({"info", (folder_ / "out.dat").string(), "--json"}, false);
  ASSERT_EQ(shown.exitCode, kExitSuccess) << shown.err;
  const json info = json::parse(shown.out);
  EXPECT_EQ(info["name"], "森");
  EXPECT_EQ(info["areas"][0]["kind"], "link-gate");  // saving moved it first
  EXPECT_TRUE(info["areas"][1]["special"].is_null());
  EXPECT_EQ(info["areas"][1]["objects"], json::array());
}

TEST_F(WorldCommands, BuildRefusesBadWorldsWithTheirMessages) {
  struct Case {
    std::string world;
    std::string message;  // how the line goes on after "worldsmith-cli: WORLD.json: "
  };
  const std::string nul = std::string(R"({"areas": []})") + '\0' + R"(, "name": "x"})";
  const std::vector<Case> cases{
      {R"({"areas": []})", "リンクゲートがありません (the world has no link gate area)"},
      {R"({"areas": [{"area": 8, "kind": "field", "x": 0, "y": 0}]})", "リンクゲートがありません"},
      {R"({"areas": [{"area": 16, "kind": "town", "x": 0, "y": 0, "objects": [1, 2]}]})",
       "areas[0] (@16): 町は最低3つの建物が必要です (a town needs at least 3 houses chosen)"},
      {R"({"areas": [{"area": 0, "kind": "link-gate", "x": 0, "y": 0, "objects": []}]})",
       "areas[0] (@0): リンクゲートエリアは最低１つのダンジョンが必要です"},
      {R"({"areas": [{"area": 19, "kind": "town", "x": 0, "y": 0, "objects": [0, 1, 2]}]})",
       "areas[0] (@19): 町エリアには教会が必要です (the area's map holds no church)"},
      {R"({"areas": [{"area": 29, "kind": "field", "x": 0, "y": 0}]})",
       "areas[0] (@29): not msg file"},
      {R"({"areas": [{"area": 31, "kind": "field", "x": 0, "y": 0}]})",
       "areas[0] (@31): " + (folder_ / "game" / "data" / "map" / "mif" / "area").string()},
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]},
                     {"area": 26, "kind": "link-gate", "x": 256, "y": 0, "objects": []}]})",
       "areas[1] (@26): a world holds only one link gate"},
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]},
                     {"area": 8, "kind": "field", "x": 95, "y": 47}]})",
       "areas[1] (@8): overlaps the area in slot 0"},
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 417, "y": 0, "objects": [1]}]})",
       "areas[0] (@1): the area (96 x 48) does not fit"},
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1, 1]}]})",
       "areas[0] (@1): dungeon 1 is listed twice"},
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [7]}]})",
       "areas[0] (@1): no dungeon numbered 7"},
      {R"({"areas": [{"area": "どこにもない", "kind": "field", "x": 0, "y": 0}]})",
       "areas[0].area: no area named どこにもない in the catalogue"},
      {R"({"areas": [{"area": 18446744073709551615, "kind": "field", "x": 0, "y": 0}]})",
       "areas[0].area: no area 18446744073709551615 in the catalogue"},
      {R"({"areas": [{"area": 1, "kind": "castle", "x": 0, "y": 0}]})",
       "areas[0].kind: must be \"link-gate\", \"field\" or \"town\""},
      {R"({"areas": [{"area": 8, "kind": "field", "x": 0, "y": 0, "slot": 4}]})",
       "areas[0].slot: must be 0 to 3"},
      // The slot is used: a second area for a taken slot is refused.
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1], "slot": 2},
                     {"area": 8, "kind": "field", "x": 128, "y": 0, "slot": 2}]})",
       "areas[1] (@8): slot 2 is not a free slot"},
      // Keys that are not the format's are refused, never ignored.
      {R"({"slot": 99, "areas": []})",
       "slot: unknown key; \"slot\" belongs in each area of \"areas\""},
      {R"({"areas": [{"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objets": [1]}]})",
       "areas[0].objets: unknown key; did you mean \"objects\"?"},
      {R"({"areas": [], "nmae": "x"})", "nmae: unknown key; did you mean \"name\"?"},
      {R"({"areas": [{"area": 8, "kind": "field", "x": 0, "x": 64, "y": 0}]})",
       "areas[0].x: the key is given twice"},
      // The text itself: where it stops being JSON.
      {"{\"areas\": [\n  {\"area\": 1,, }]}", "line 2, column 14: not valid JSON (syntax error"},
      {R"({"areas": []} {})", "line 1, column 15: not valid JSON (syntax error"},
      {nul, "line 1, column 14: a NUL byte"},
      {"{\"name\": \"\xff\", \"areas\": []}",
       "line 1, column 11: not valid JSON (syntax error while parsing value - invalid string: "
       "ill-formed UTF-8 byte"},
      {R"({"areas": [{"area": 1e999, "kind": "field", "x": 0, "y": 0}]})",
       "line 1, column 25: not valid JSON (number overflow parsing '1e999')"},
      {R"([1, 2])", "the world file must hold one JSON object"},
  };
  for (const Case& c : cases) {
    std::string message = c.message;
    if (const auto mark = message.find('@'); mark != std::string::npos) {
      // "@N": catalogue entry N's name.
      const auto end = message.find(')', mark);
      const int area = std::stoi(message.substr(mark + 1, end - mark - 1));
      message.replace(mark, end - mark, areaName(area));
    }
    const Outcome outcome = build(c.world, "refused.dat");
    EXPECT_EQ(outcome.exitCode, kExitBadInput) << c.world;
    const std::string line = "worldsmith-cli: " + (folder_ / "world.json").string() + ": ";
    EXPECT_EQ(outcome.err.rfind(line + message, 0), 0u) << c.world << " gave " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "refused.dat"));
  }
}

TEST_F(WorldCommands, FifthAreaIsRefusedAsTheEditorWould) {
  const Outcome outcome = build(R"({"areas": [
      {"area": 1, "kind": "link-gate", "x": 0, "y": 0, "objects": [1]},
      {"area": 8, "kind": "field", "x": 96, "y": 0}, {"area": 8, "kind": "field", "x": 128, "y": 0},
      {"area": 8, "kind": "field", "x": 160, "y": 0}, {"area": 8, "kind": "field", "x": 192, "y": 0}]})",
                                "refused.dat");
  EXPECT_EQ(outcome.exitCode, kExitBadInput);
  EXPECT_NE(outcome.err.find("マップパーツは４つまでです！"), std::string::npos);
}

TEST_F(WorldCommands, InfoRefusesAFileThatIsNotASaveFile) {
  const std::string notSave = file("not_a_save.dat", std::string(200, 'x'));
  const Outcome outcome = run({"info", notSave});
  EXPECT_EQ(outcome.exitCode, kExitBadInput);
  EXPECT_NE(outcome.err.find("はセーブファイルではありません"), std::string::npos);

  // A real container around a body that is not a world.
  const std::vector<std::uint8_t> junk(300, 9);
  ASSERT_TRUE(codec::writeSaveFile(folder_ / "junk.dat", junk).ok());
  const Outcome junkOutcome = run({"info", (folder_ / "junk.dat").string()});
  EXPECT_EQ(junkOutcome.exitCode, kExitBadInput);
  EXPECT_NE(junkOutcome.err.find("junk.dat: はセーブファイルではありません ("), std::string::npos)
      << junkOutcome.err;

  // A missing file: the system's own reason, whatever words it uses.
  const auto nothing = folder_ / "nothing.dat";
  const platform::FileRead read = platform::readRegularFile(nothing, 1024);
  ASSERT_EQ(read.failure, platform::ReadFailure::NotFound);
  const Outcome missing = run({"info", nothing.string()});
  EXPECT_EQ(missing.exitCode, kExitBadInput);
  EXPECT_NE(missing.err.find("nothing.dat: cannot read (" + read.reason + ")"), std::string::npos)
      << missing.err;
}

}  // namespace
}  // namespace ws::cli
