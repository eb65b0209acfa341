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
  EXPECT_EQ(kChooseGameFolderInstruction, cp932("rv7.exe のあるフォルダを選んでください"));
  EXPECT_EQ(demoWriteFailedMessage("d", kDemoReasonNoSpace),
            cp932("デモゲームを書き込めませんでした:\nd\nディスクの空き容量が足りません"));
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
  ScriptedDialogs dialogs;
  dialogs.folderAnswers.push_back(demoGame());
  EditorModel model(dialogs, EditorOptions{freshFolder("empty")});
  ASSERT_TRUE(model.FormCreate());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{std::string(kChooseGameFolderMessage)});
  EXPECT_EQ(model.gameFolder(), demoGame());
  EXPECT_EQ(model.saveDialogFolder(), platform::saveFolderPath(demoGame()));
  EXPECT_EQ(model.openDialogFolder(), platform::saveFolderPath(demoGame()));
  EXPECT_EQ(model.ListBox1().count(), 200);
}

// A store that keeps the remembered folder in memory.
struct FakeStore : platform::GameFolderStore {
  std::optional<fs::path> folder;
  std::optional<fs::path> rememberedGameFolder() override { return folder; }
  void rememberGameFolder(const fs::path& chosen) override { folder = chosen; }
  void forgetGameFolder() override { folder.reset(); }
};

// The question for the game folder: a folder without the catalogue is named
// and the dialog comes again; Cancel ends the start-up; a folder that worked
// is remembered and used next time, unless --game-dir names another or it
// lost its catalogue.
TEST(EditorStartup, GameFolderQuestionRepeatsRemembersAndEndsOnCancel) {
  const fs::path wrong = freshFolder("wrong");
  const fs::path empty = freshFolder("empty");
  struct Case {
    const char* name;
    std::optional<fs::path> gameDir;     // --game-dir
    std::optional<fs::path> remembered;  // in the store before the start
    std::vector<std::optional<fs::path>> answers;
    bool started;
    std::vector<std::string> messages;
    std::optional<fs::path> rememberedAfter;
  };
  const std::string ask(kChooseGameFolderMessage);
  const std::string lacks = folderLacksCatalogueMessage(wrong);
  const Case cases[] = {
      {"wrong folder, then Cancel",
       empty,
       std::nullopt,
       {wrong, std::nullopt},
       false,
       {ask, lacks},
       std::nullopt},
      {"wrong folder, then the game",
       empty,
       std::nullopt,
       {wrong, demoGame()},
       true,
       {ask, lacks},
       demoGame()},
      {"remembered game, nothing located", std::nullopt, demoGame(), {}, true, {}, demoGame()},
      {"remembered folder lost its catalogue",
       std::nullopt,
       wrong,
       {std::nullopt},
       false,
       {ask},
       std::nullopt},
      {"--game-dir wins over the remembered game",
       empty,
       demoGame(),
       {std::nullopt},
       false,
       {ask},
       demoGame()},
  };
  // Nothing located but what a case gives: no environment, an empty registry.
  const platform::testing::ScopedEnv noOverride("WORLDSMITH_GAME_DIR", std::nullopt);
  const platform::testing::ScopedEnv noWine("WINEPREFIX", freshFolder("no-wine").string());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs dialogs;
    dialogs.folderAnswers.assign(c.answers.begin(), c.answers.end());
    FakeStore store;
    store.folder = c.remembered;
    EditorModel model(dialogs, EditorOptions{c.gameDir, &store});
    EXPECT_EQ(model.FormCreate(), c.started);
    EXPECT_EQ(dialogs.messages, c.messages);
    EXPECT_TRUE(dialogs.folderAnswers.empty());
    for (const std::string& instruction : dialogs.folderInstructions) {
      EXPECT_EQ(instruction, kChooseGameFolderInstruction);
    }
    EXPECT_EQ(store.folder, c.rememberedAfter);
    EXPECT_EQ(model.ListBox1().count(), c.started ? 200 : 0);
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

  ScriptedDialogs dialogs;
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
