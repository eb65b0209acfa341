#include <cstdlib>

#include "editor/editor_messages.h"
#include "editor_fixture.h"
#include "platform/game_paths.h"
#include "support/scoped_test_env.h"
#include "world/save_body_layout.h"

namespace ws::editor::testing {
namespace {

TEST(EditorTexts, MatchTheirJapaneseText) {
  EXPECT_EQ(kChooseGameFolderMessage, "rv7.exe\n" + cp932("のあるフォルダを指定してください"));
  EXPECT_EQ(world::kDefaultWorldName, cp932("テストワールド"));
}

TEST(EditorStartup, GameFolderGivenReadsCatalogueAndSetsUpTheWindow) {
  DemoEditor editor;
  const EditorModel& model = editor.model;
  EXPECT_TRUE(editor.dialogs.messages.empty());
  ASSERT_EQ(model.ListBox1().count(), 200);
  EXPECT_EQ(model.ListBox1().item(0), cp932("始まりの門"));
  EXPECT_EQ(model.ListBox1().item(4), "");
  EXPECT_EQ(model.openDialogFolder(), platform::saveFolderPath(demoGame()));
  EXPECT_EQ(model.saveDialogFolder(), platform::saveFolderPath(demoGame()));
  EXPECT_EQ(model.Edit1(), world::kDefaultWorldName);
  EXPECT_EQ(model.RadioButtons().selected, AreaKind::LinkGate);
  EXPECT_TRUE(model.CheckListBox1().visible);
  EXPECT_FALSE(model.CheckListBox2().visible);
  EXPECT_FALSE(model.cursor().armed);

  // The start outline, 128 x 64 at the top left, is the only thing on the map.
  const canvas::Canvas& map = model.Image2();
  ASSERT_EQ(map.width(), 512);
  ASSERT_EQ(map.height(), 256);
  EXPECT_EQ(map.pixel(64, 0), canvas::kWhite);
  EXPECT_EQ(map.pixel(0, 32), canvas::kWhite);
  EXPECT_EQ(map.pixel(64, 32), canvas::kBlack);
  EXPECT_EQ(map.pixel(300, 100), canvas::kBlack);
  EXPECT_TRUE(samePixels(mapWithoutCursor(model), canvas::Canvas(512, 256)));
}

TEST(EditorStartup, MissingCatalogueAsksForTheFolder) {
  FakeDialogs dialogs;
  dialogs.folderAnswers.push_back(demoGame());
  EditorModel model(dialogs, EditorOptions{freshFolder("empty")});
  ASSERT_TRUE(model.FormCreate());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{std::string(kChooseGameFolderMessage)});
  EXPECT_EQ(model.gameFolder(), demoGame());
  EXPECT_EQ(model.saveDialogFolder(), platform::saveFolderPath(demoGame()));
  EXPECT_EQ(model.openDialogFolder(), platform::saveFolderPath(demoGame()));
  EXPECT_EQ(model.ListBox1().count(), 200);
}

TEST(EditorStartup, NoCatalogueAfterAskingLeavesTheWindowEmpty) {
  struct Case {
    const char* name;
    std::optional<fs::path> answer;
  };
  for (const Case& c : {Case{"cancelled", std::nullopt}, Case{"wrong folder", freshFolder("x")}}) {
    SCOPED_TRACE(c.name);
    FakeDialogs dialogs;
    dialogs.folderAnswers.push_back(c.answer);
    const fs::path empty = freshFolder("empty");
    EditorModel model(dialogs, EditorOptions{empty});
    EXPECT_FALSE(model.FormCreate());
    EXPECT_EQ(dialogs.messages.size(), 1u);  // no second message
    EXPECT_EQ(model.ListBox1().count(), 0);
    EXPECT_EQ(model.openDialogFolder(), platform::saveFolderPath(empty));
    EXPECT_TRUE(model.saveDialogFolder().empty());
    EXPECT_TRUE(samePixels(model.Image2(), canvas::Canvas(512, 256)));  // no outline
    model.Image2MouseMove(100, 100);
    model.Image2Click();
    EXPECT_EQ(model.areaSlots().usedCount(), 0);
  }
}

// Off Windows the registry is the Wine prefix's system.reg; Windows reads its
// real registry, which the Windows end-to-end run covers.
#ifndef _WIN32
TEST(EditorStartup, FindsTheGameThroughTheRegistry) {
  // A Wine prefix whose registry names rv7.exe inside the demo game and whose
  // drive Z: is the file system root.
  const fs::path prefix = freshFolder("wine");
  fs::create_directories(prefix / "dosdevices");
  fs::create_directory_symlink("/", prefix / "dosdevices" / "z:");
  std::string windowsPath = "Z:";
  for (const fs::path& part : fs::absolute(demoGame()).relative_path()) {
    windowsPath += "\\\\" + part.string();
  }
  std::ofstream(prefix / "system.reg")
      << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
      << "[Software\\\\TOLVERA\\\\RV7] 1700000000\n"
      << "\"BootDirectory\"=\"" << windowsPath << "\\\\rv7.exe\"\n";
  const platform::testing::ScopedEnv winePrefix("WINEPREFIX", prefix.string());
  const platform::testing::ScopedEnv noOverride("WORLDSMITH_GAME_DIR", std::nullopt);

  FakeDialogs dialogs;
  EditorModel model(dialogs);
  ASSERT_TRUE(model.FormCreate());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(fs::equivalent(model.gameFolder(), demoGame()));
  EXPECT_EQ(model.ListBox1().count(), 200);
}
#endif

TEST(EditorWorldName, AcceptsAtMost31Bytes) {
  DemoEditor editor;
  EXPECT_TRUE(editor.model.setWorldName(std::string(31, 'a')));
  EXPECT_FALSE(editor.model.setWorldName(std::string(32, 'b')));
  EXPECT_EQ(editor.model.Edit1(), std::string(31, 'a'));
  EXPECT_TRUE(editor.model.setWorldName(""));
  EXPECT_EQ(editor.model.Edit1(), "");
}

}  // namespace
}  // namespace ws::editor::testing
