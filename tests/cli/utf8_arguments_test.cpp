#include "cli/utf8_arguments.h"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/scoped_test_env.h"

namespace ws::cli {
namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class Utf8Arguments : public ::testing::Test {
 protected:
  void SetUp() override {
    // "ゲーム表" ends in 表, whose CP932 second byte is "\"; "Café" is outside CP932.
    game_ = folder_.path() / fs::path(u8"ゲーム表");
    fs::create_directories(game_);
    std::ofstream(game_ / fs::path(u8"Café.json")) << "{}";
  }

  platform::testing::TempFolder folder_{"cli-utf8-arguments"};
  fs::path game_;
};

TEST_F(Utf8Arguments, PathFromUtf8NamesTheSameFileAsTheWideName) {
  EXPECT_EQ(pathFromUtf8(utf8(game_)), game_);
  EXPECT_TRUE(fs::exists(pathFromUtf8(utf8(game_) + "/" + "Caf\xC3\xA9.json")));
  EXPECT_EQ(pathFromUtf8(""), fs::path());
}

TEST_F(Utf8Arguments, PathOptionsTakeUtf8NamesThatNoCodePageSpells) {
  CLI::App app;
  fs::path world;
  std::optional<fs::path> gameDir;
  addPathOption(app, "WORLD", world, "")->required();
  addPathOption(app, "--game-dir", gameDir, "");

  std::vector<std::string> arguments = {"worldsmith-cli", "--game-dir", utf8(game_),
                                        utf8(game_ / fs::path(u8"Café.json"))};
  std::vector<char*> argv;
  argv.reserve(arguments.size());
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  app.parse(static_cast<int>(argv.size()), argv.data());

  ASSERT_TRUE(gameDir.has_value());
  EXPECT_EQ(*gameDir, game_);
  EXPECT_EQ(world, game_ / fs::path(u8"Café.json"));
  EXPECT_TRUE(fs::exists(world));
}

TEST_F(Utf8Arguments, AbsentOptionalPathStaysEmpty) {
  CLI::App app;
  std::optional<fs::path> gameDir;
  addPathOption(app, "--game-dir", gameDir, "");
  std::vector<std::string> arguments = {"worldsmith-cli"};
  std::vector<char*> argv{arguments[0].data()};
  app.parse(static_cast<int>(argv.size()), argv.data());
  EXPECT_FALSE(gameDir.has_value());
}

TEST(Utf8ArgumentsOffWindows, ArgumentsAreArgvAsTheyAre) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows takes them from its wide command line";
#endif
  std::string program = "worldsmith-cli";
  std::string name = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";  // テスト
  std::vector<char*> argv{program.data(), name.data()};
  EXPECT_EQ(utf8Arguments(2, argv.data()), (std::vector<std::string>{program, name}));
}

}  // namespace
}  // namespace ws::cli
