// The editor beyond its handlers: the question before unsaved work is set
// aside, opening a save by file, the catalogue's hints and the world as a
// picture.
#include <iterator>

#include "canvas/png_image.h"
#include "editor/area_hint_texts.h"
#include "editor/editor_messages.h"
#include "editor/window_texts.h"
#include "editor/world_picture.h"
#include "editor_fixture.h"

namespace ws::editor::testing {
namespace {

// What happens to a modified world when the window is about to close, by
// the answer to the question and what SAVE then meets.
TEST(UnsavedWorkTest, CloseAsksWhenModifiedAndSaveDecides) {
  struct Case {
    const char* name;
    bool edit;                         // a step before closing
    bool linkGate;                     // the world has its link gate, so SAVE can write it
    std::optional<SaveChoice> answer;  // nothing: no question expected
    bool saveDialogConfirms;
    bool closes;
    bool modifiedAfter;
    bool written;
  };
  const std::vector<Case> cases{
      {"unmodified", false, true, std::nullopt, false, true, false, false},
      {"cancel", true, true, SaveChoice::Cancel, false, false, true, false},
      {"don't save", true, true, SaveChoice::DontSave, false, true, true, false},
      {"save", true, true, SaveChoice::Save, true, true, false, true},
      {"save dialog cancelled", true, true, SaveChoice::Save, false, false, true, false},
      {"save refused without link gate", true, false, SaveChoice::Save, false, false, true, false},
  };
  for (const Case& c : cases) {
    DemoEditor e;
    const fs::path file = freshFolder("close") / "world.dat";
    if (c.edit)
      e.place(c.linkGate ? AreaKind::LinkGate : AreaKind::Field,
              c.linkGate ? kGateOfBeginnings : kMeadow, 0, 0);
    if (c.answer) e.dialogs.saveChoices.push_back(*c.answer);
    if (c.saveDialogConfirms) e.dialogs.saveAnswers.push_back(file);
    if (c.answer == SaveChoice::Save && !c.saveDialogConfirms && c.linkGate) {
      e.dialogs.saveAnswers.push_back(std::nullopt);
    }
    EXPECT_EQ(e.model.FormCloseQuery(), c.closes) << c.name;
    EXPECT_EQ(e.dialogs.questions.size(), c.answer ? 1u : 0u) << c.name;
    if (c.answer) {
      EXPECT_EQ(e.dialogs.questions.front(), kSaveChangesQuestion) << c.name;
    }
    EXPECT_EQ(e.model.isModified(), c.modifiedAfter) << c.name;
    EXPECT_EQ(fs::exists(file), c.written) << c.name;
    EXPECT_TRUE(e.dialogs.saveAnswers.empty()) << c.name;
  }
}

// LOAD over a modified world asks first; Cancel opens no dialog and keeps
// the world. A file given directly (start-up, drop) asks the same way.
TEST(UnsavedWorkTest, LoadAndOpenFileAskFirstAndCancelKeepsTheWorld) {
  const fs::path file = freshFolder("open") / "saved.dat";
  {
    DemoEditor e;
    e.place(AreaKind::LinkGate, kGateOfBeginnings, 0, 0);
    e.place(AreaKind::Town, kHarbourTown, 256, 128);
    e.dialogs.saveAnswers.push_back(file);
    e.model.Button2Click();
    ASSERT_FALSE(e.model.isModified());
  }
  DemoEditor e;
  e.place(AreaKind::Field, kMeadow, 128, 0);
  const world::AreaSlotTable before = e.model.areaSlots();

  e.dialogs.saveChoices = {SaveChoice::Cancel, SaveChoice::Cancel};
  e.model.Button1Click();  // no open dialog scripted: opening one fails the test
  EXPECT_FALSE(e.model.openFile(file));
  EXPECT_EQ(e.dialogs.questions.size(), 2u);
  EXPECT_EQ(e.model.areaSlots()[0].areaNumber, before[0].areaNumber);
  EXPECT_EQ(e.model.areaSlots().usedCount(), 1);
  EXPECT_TRUE(e.model.isModified());

  e.dialogs.saveChoices = {SaveChoice::DontSave};
  EXPECT_TRUE(e.model.openFile(file));
  EXPECT_EQ(e.model.areaSlots().usedCount(), 2);
  EXPECT_FALSE(e.model.isModified());
  // Unmodified: no question, and the load of the same file by LOAD's dialog.
  e.dialogs.openAnswers.push_back(file);
  e.model.Button1Click();
  EXPECT_EQ(e.dialogs.questions.size(), 3u);
  EXPECT_FALSE(e.model.isModified());
  // Undoing the load brings the modified world back.
  e.model.undo();
  EXPECT_TRUE(e.model.isModified());
  e.model.undo();
  EXPECT_EQ(e.model.areaSlots().usedCount(), 1);
  EXPECT_EQ(e.model.areaSlots()[0].areaNumber, kMeadow);
  // A file that is no save: LOAD's message, nothing loaded, no step (a
  // step would drop the two undone ones).
  const fs::path junk = freshFolder("open") / "junk.dat";
  writeFile(junk, std::vector<std::uint8_t>(300, 7));
  const std::size_t messages = e.dialogs.messages.size();
  ASSERT_TRUE(e.model.canRedo());
  EXPECT_FALSE(e.model.loadFile(junk));
  EXPECT_EQ(e.dialogs.messages.size(), messages + 1);
  EXPECT_TRUE(e.model.canRedo());
  EXPECT_EQ(e.model.areaSlots().usedCount(), 1);
}

// After LOAD the shown map without its outline is the rendered file; the
// picture written from the context menu is the same map as PNG.
TEST(WorldPictureTest, LoadedMapWithoutOutlineIsTheRenderOfTheFile) {
  const fs::path folder = freshFolder("picture");
  {
    DemoEditor e;
    e.place(AreaKind::LinkGate, kMoonTemple, 448, 192);
    e.place(AreaKind::Town, kHarbourTown, 0, 0);
    e.model.toggleCheck(CheckList::Dungeons, 0);
    e.place(AreaKind::Field, kMistMarsh, 256, 32);
    e.dialogs.saveAnswers.push_back(folder / "w.dat");
    e.model.Button2Click();
  }
  const Result<canvas::Canvas> rendered = RenderSaveFile(demoGame(), folder / "w.dat");
  ASSERT_TRUE(rendered.ok());
  DemoEditor e;
  e.choose(kStarGate);
  e.clickAt(200, 100);
  ASSERT_TRUE(e.model.loadFile(folder / "w.dat"));
  EXPECT_TRUE(samePixels(e.model.worldPictureCanvas(), *rendered));
  EXPECT_TRUE(samePixels(mapWithoutCursor(e.model), *rendered));
  EXPECT_FALSE(samePixels(e.model.Image2(), *rendered));  // the outline is shown

  e.dialogs.pictureAnswers = {folder / "w.png", std::nullopt};
  EXPECT_TRUE(e.model.saveWorldPicture());
  EXPECT_EQ(readBytes(folder / "w.png"), canvas::encodePng(*rendered));
  EXPECT_FALSE(e.model.saveWorldPicture());

  const Result<canvas::Canvas> missing = RenderSaveFile(demoGame(), folder / "none.dat");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("none.dat"), std::string::npos);
}

// Every hint text is the CP932 spelling of its Japanese text.
TEST(AreaHintTest, TextsAreTheirJapaneseSpellings) {
  const std::vector<std::pair<std::string_view, const char*>> texts{
      {kSaveChangesQuestion, "ワールドは変更されています。保存しますか？"},
      {kSaveWorldPictureCaption, "ワールドマップを画像で保存…"},
      {kHintSize, "ワールドマップ上の大きさ: "},
      {kHintDungeons, "ダンジョン: "},
      {kHintHouses, "  民家: "},
      {kHintChurch, "教会: "},
      {kHintTower, "  塔: "},
      {kHintLinkGate, "  リンクゲート: "},
      {kHintTownsfolkSpots, "町人の位置: "},
      {kHintPresent, "あり"},
      {kHintAbsent, "なし"},
      {kHintKindsHeader, "置ける種類:"},
      {kHintCanTake, "○"},
      {kHintCannotTake, "× "},
      {kHintNoLinkGate, "リンクゲートがありません"},
      {kHintNoDungeon, "ダンジョンがありません"},
      {kHintNoChurch, "教会がありません"},
      {kHintTooFewHouses, "民家が3軒以上必要です"},
      {kHintNoChurchOrHouses, "教会と3軒以上の民家が必要です"},
      {kHintEmptyName, "名前のない項目です"},
      {kHintMissingFile, "マップファイルがありません"},
      {kHintRefusedFile, "使えないマップファイルです (not msg file)"},
  };
  for (const auto& [text, utf8] : texts)
    EXPECT_EQ(text, cp932(utf8)) << utf8;
}

TEST(AreaHintTest, HintsTellSizeObjectsAndWhichKindsAnAreaTakes) {
  const std::vector<std::pair<int, const char*>> hints{
      {kGateOfBeginnings,
       "ワールドマップ上の大きさ: 128 x 64\nダンジョン: 3  民家: 0\n"
       "教会: なし  塔: なし  リンクゲート: あり\n町人の位置: 0\n置ける種類:\n"
       "リンクゲート: ○\nフィールド: ○\n町: × 教会と3軒以上の民家が必要です"},
      {kHarbourTown,
       "ワールドマップ上の大きさ: 128 x 64\nダンジョン: 0  民家: 6\n"
       "教会: あり  塔: なし  リンクゲート: なし\n町人の位置: 8\n置ける種類:\n"
       "リンクゲート: × リンクゲートがありません\nフィールド: ○\n町: ○"},
      {kHamlet,
       "ワールドマップ上の大きさ: 64 x 32\nダンジョン: 0  民家: 3\n"
       "教会: なし  塔: なし  リンクゲート: なし\n町人の位置: 0\n置ける種類:\n"
       "リンクゲート: × リンクゲートがありません\nフィールド: ○\n町: × 教会がありません"},
      {kChurchHill,
       "ワールドマップ上の大きさ: 64 x 32\nダンジョン: 0  民家: 2\n"
       "教会: あり  塔: なし  リンクゲート: なし\n町人の位置: 0\n置ける種類:\n"
       "リンクゲート: × リンクゲートがありません\nフィールド: ○\n町: × 民家が3軒以上必要です"},
      {kEmptyName, "名前のない項目です"},
      {kMissingMap, "マップファイルがありません"},
      {kBrokenMap, "使えないマップファイルです (not msg file)"},
  };
  DemoEditor e;
  for (const auto& [area, utf8] : hints)
    EXPECT_EQ(e.model.areaHint(area), cp932(utf8)) << area;
  EXPECT_EQ(e.model.areaHint(200), "");
  EXPECT_EQ(e.model.areaHint(-1), "");
}

}  // namespace
}  // namespace ws::editor::testing
