#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <fstream>
#include <string>
#include <vector>

#include "cli/command_runner.h"
#include "cli/commands.h"
#include "codec/save_container.h"
#include "editor/editor_model.h"
#include "platform/file_io.h"
#include "support/scoped_test_env.h"
#include "support/scripted_dialogs.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace ws::cli {
namespace {

namespace fs = std::filesystem;

class RenderCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = platform::testing::uniqueTestFolder("cli-render");
    ASSERT_EQ(runCommandLine({"demo-game", game().string()}).exitCode, kExitSuccess);
    std::ofstream(folder_ / "world.json") << R"({"areas": [
      {"area": 0, "kind": "link-gate", "x": 384, "y": 192, "objects": [1, 2]},
      {"area": 14, "kind": "town", "x": 0, "y": 0, "objects": [1, 2, 4]},
      {"area": 5, "kind": "field", "x": 160, "y": 96, "objects": [3]}]})";
    const Outcome built = runCommandLine(
        {"build", (folder_ / "world.json").string(), "-o", (folder_ / "world.dat").string()},
        game());
    ASSERT_EQ(built.exitCode, kExitSuccess) << built.err;
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }
  static fs::path game() { return folder_ / "game"; }
  static Outcome render(std::vector<std::string> args) {
    return runCommandLine(std::move(args), game());
  }
  static inline fs::path folder_;
};

// The picture is the editor's map after LOAD without the cursor outline,
// each pixel a scale x scale block.
TEST_F(RenderCommand, DrawsTheMapAsLoadShowsItWithoutTheOutline) {
  const fs::path png = folder_ / "world.png";
  const Outcome rendered =
      render({"render", (folder_ / "world.dat").string(), "-o", png.string(), "--scale", "2"});
  ASSERT_EQ(rendered.exitCode, kExitSuccess) << rendered.err;

  editor::testing::ScriptedDialogs dialogs;
  editor::EditorModel model(dialogs, editor::EditorOptions{game()});
  ASSERT_TRUE(model.FormCreate());
  ASSERT_TRUE(model.loadFile(folder_ / "world.dat"));
  const canvas::Canvas map = model.worldPictureCanvas();

  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(png.string().c_str(), &width, &height, &channels, 3);
  ASSERT_NE(pixels, nullptr);
  ASSERT_EQ(width, 1024);
  ASSERT_EQ(height, 512);
  int differing = 0, lit = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = pixels + 3 * (y * width + x);
      const canvas::Colour colour = p[0] | (p[1] << 8) | (p[2] << 16);
      if (colour != map.pixel(x / 2, y / 2)) ++differing;
      if (colour != canvas::kBlack) ++lit;
    }
  }
  stbi_image_free(pixels);
  EXPECT_EQ(differing, 0);
  EXPECT_GT(lit, 0);
  // No outline: the map's top-left corner lies inside the town, whose first
  // row is what its preview has there, and the model shows the outline there.
  EXPECT_NE(model.Image2().pixel(0, 0), map.pixel(0, 0));
}

TEST_F(RenderCommand, RefusesWhatLoadRefuses) {
  std::ofstream(folder_ / "junk.dat") << std::string(300, 'x');
  const struct {
    std::string save;
    std::string message;
  } cases[] = {
      {(folder_ / "none.dat").string(), "none.dat"},
      {(folder_ / "junk.dat").string(), "junk.dat"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = render({"render", c.save, "-o", (folder_ / "x.png").string()});
    EXPECT_EQ(outcome.exitCode, kExitBadInput) << c.save;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(folder_ / "x.png"));
  }
  EXPECT_EQ(render({"render", "a.dat", "-o", "b.png", "--scale", "9"}).exitCode, kExitUsage);
}

}  // namespace
}  // namespace ws::cli
