#include <functional>

#include "editor/placed_area_item.h"
#include "editor_fixture.h"
#include "gamedata/area_preview.h"

namespace ws::editor::testing {
namespace {

std::string placedItem(const EditorModel& model, int areaNumber) {
  return model.ListBox1().item(areaNumber) + "=" + std::to_string(areaNumber);
}

TEST(PlacementCursor, CornersRunClockwiseFromTopLeft) {
  PlacementCursor cursor;
  cursor.x = 32;
  cursor.y = 64;
  cursor.width = 100;
  cursor.height = 20;
  cursor.storeCorners();
  const std::array<canvas::Point, 4> expected{canvas::Point{32, 64}, canvas::Point{132, 64},
                                              canvas::Point{132, 84}, canvas::Point{32, 84}};
  EXPECT_EQ(cursor.corners, expected);
}

TEST(CursorMove, SnapsToStepsOf32AfterHoldingTheAreaInsideTheMap) {
  struct Case {
    int area, mouseX, mouseY, x, y;
  };
  const Case cases[] = {
      {kGateOfBeginnings, 400, 10, 384, 0},  // held at 384, snapped to 384
      {kStarGate, 500, 250, 416, 192},       // 96 x 48: held at 416, 208
      {kGateOfBeginnings, 31, 32, 0, 32},      {kGateOfBeginnings, -1, -31, 0, 0},
      {kGateOfBeginnings, -32, -63, -32, -32}, {kGateOfBeginnings, -64, 0, -64, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mouseX);
    DemoEditor editor;
    editor.choose(c.area);
    editor.model.Image2MouseMove(c.mouseX, c.mouseY);
    EXPECT_EQ(editor.model.cursor().x, c.x);
    EXPECT_EQ(editor.model.cursor().y, c.y);
  }
}

TEST(CursorMove, ClickWithTheCursorDraggedOffTheMapPlacesNothing) {
  DemoEditor editor;
  editor.choose(kStarGate);
  for (auto [x, y] : {std::pair{-40, 0}, {0, -1000}}) {
    editor.clickAt(x, y);
    EXPECT_EQ(editor.model.areaSlots().usedCount(), 0);
  }
  EXPECT_TRUE(editor.dialogs.messages.empty());
  editor.clickAt(0, 0);
  EXPECT_EQ(editor.model.areaSlots().usedCount(), 1);
}

TEST(PlacedAreas, ItemIsTheNameThenTheNumber) {
  EXPECT_EQ(placedAreaItem("abc", 7), "abc=7");
}

TEST(CursorMove, IgnoredUntilAnAreaIsChosen) {
  DemoEditor editor;
  editor.clickAt(200, 100);
  EXPECT_EQ(editor.model.cursor().x, 0);
  EXPECT_EQ(editor.model.ListBox2().count(), 0);
  EXPECT_EQ(editor.model.areaSlots().usedCount(), 0);
}

TEST(CursorChoice, TakesTheAreaSizeAndStaysInsideWithoutSnapping) {
  DemoEditor editor;
  editor.choose(kMoonTemple);  // 32 x 32
  editor.model.Image2MouseMove(511, 255);
  EXPECT_EQ(editor.model.cursor().x, 480);
  EXPECT_EQ(editor.model.cursor().y, 224);
  editor.choose(kLakeIsland);  // 64 x 31
  EXPECT_EQ(editor.model.cursor().x, 448);
  EXPECT_EQ(editor.model.cursor().y, 224);
  editor.choose(kStarGate);  // 96 x 48
  const PlacementCursor& cursor = editor.model.cursor();
  EXPECT_EQ((std::array{cursor.x, cursor.y, cursor.width, cursor.height}),
            (std::array{416, 208, 96, 48}));
  EXPECT_EQ(cursor.corners[2], (canvas::Point{512, 256}));
  EXPECT_TRUE(cursor.armed);
}

TEST(CursorChoice, UnusableAreasArmTheCursorButNeverPlace) {
  struct Case {
    int area;
    int width;  // cursor width after the choice
    bool notMsgFileOnChoice;
  };
  for (const Case c :
       {Case{kMissingMap, 128, false}, Case{kBrokenMap, 0, true}, Case{kEmptyName, 128, false}}) {
    SCOPED_TRACE(c.area);
    DemoEditor editor;
    editor.choose(c.area);
    EXPECT_TRUE(editor.model.cursor().armed);
    EXPECT_EQ(editor.model.cursor().width, c.width);
    EXPECT_EQ(editor.dialogs.messages.size(), c.notMsgFileOnChoice ? 1u : 0u);
    editor.clickAt(256, 128);
    EXPECT_EQ(editor.model.areaSlots().usedCount(), 0);
    ASSERT_FALSE(editor.dialogs.messages.empty());
    EXPECT_FALSE(editor.dialogs.messages.back().empty());
  }
}

TEST(CursorOutline, MovingOverPlacedAreasRestoresTheMapExactly) {
  DemoEditor editor;
  editor.place(AreaKind::LinkGate, kGateOfBeginnings, 64, 64);
  const canvas::Canvas placed = mapWithoutCursor(editor.model);
  editor.choose(kMistMarsh);
  for (auto [x, y] : {std::pair{0, 0}, {70, 70}, {-40, 10}, {500, 250}, {96, 32}}) {
    editor.model.Image2MouseMove(x, y);
  }
  EXPECT_TRUE(samePixels(mapWithoutCursor(editor.model), placed));
}

TEST(Placement, StampsThePreviewBySourceInvert) {
  DemoEditor editor;
  editor.model.selectKind(AreaKind::Field);
  editor.choose(kBlueForest);
  editor.model.Image2MouseMove(96, 64);
  const canvas::Canvas preview = editor.model.Image1();
  editor.model.Image2Click();
  ASSERT_EQ(editor.model.areaSlots().usedCount(), 1);
  // The outline was on the map when the preview went over it: only an XOR
  // stamp gives back the preview once the outline is inverted away.
  const canvas::Canvas map = mapWithoutCursor(editor.model);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      ASSERT_EQ(map.pixel(96 + x, 64 + y), preview.pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(Placement, FillsTheFirstFreeSlotAndListsUsedSlots) {
  DemoEditor editor;
  editor.place(AreaKind::LinkGate, kMoonTemple, 0, 0);
  editor.place(AreaKind::Field, kBlueForest, 256, 0);
  editor.clickAt(0, 0);  // removes the link gate
  editor.place(AreaKind::Town, kForestVillage, 0, 128);
  const world::AreaSlot& town = editor.model.areaSlots()[0];
  EXPECT_TRUE(town.used);
  EXPECT_EQ(town.areaNumber, kForestVillage);
  EXPECT_EQ(town.kind, world::AreaKind::Town);
  EXPECT_EQ((std::array{town.x, town.y, town.width, town.height}), (std::array{0, 128, 64, 32}));
  EXPECT_EQ(town.objectCount, 3);
  EXPECT_EQ(editor.model.ListBox2().items,
            (std::vector<std::string>{placedItem(editor.model, kBlueForest),
                                      placedItem(editor.model, kForestVillage)}));
}

TEST(Placement, ClickRemovesEveryOverlappedAreaAndPlacesNothing) {
  DemoEditor editor;
  editor.place(AreaKind::LinkGate, kMoonTemple, 0, 0);  // 32 x 32 at 0, 0
  editor.place(AreaKind::Field, kMoonTemple, 32, 0);    // touching: no overlap, placed
  editor.place(AreaKind::Field, kLakeIsland, 128, 0);   // 64 x 31, outside the next cursor
  ASSERT_EQ(editor.model.areaSlots().usedCount(), 3);
  editor.choose(kGateOfBeginnings);  // 128 x 64
  editor.clickAt(0, 0);
  EXPECT_EQ(editor.model.areaSlots().usedCount(), 1);
  EXPECT_EQ(editor.model.ListBox2().items,
            std::vector<std::string>{placedItem(editor.model, kLakeIsland)});
  const canvas::Canvas map = mapWithoutCursor(editor.model);
  for (int x = 0; x < 64; ++x)
    EXPECT_EQ(map.pixel(x, 10), canvas::kBlack) << x;
  // The link gate removed, its kind is offered again; the selection stays.
  EXPECT_TRUE(editor.model.RadioButtons().isEnabled(AreaKind::LinkGate));
  EXPECT_EQ(editor.model.RadioButtons().selected, AreaKind::Field);
}

TEST(Placement, RefusedPlacementsShowTheirMessageAndChangeNothing) {
  struct Case {
    const char* name;
    std::function<void(DemoEditor&)> prepare;
    std::string message;
  };
  const Case cases[] = {
      {"town with two houses",
       [](DemoEditor& e) {
         e.model.selectKind(AreaKind::Town);
         e.choose(kHarbourTown);
         e.model.toggleCheck(CheckList::Houses, 2);
       },
       cp932("町は最低3つの建物が必要です")},
      {"link gate without dungeon",
       [](DemoEditor& e) {
         e.choose(kGateOfBeginnings);
         e.model.toggleCheck(CheckList::Dungeons, 0);
       },
       cp932("リンクゲートエリアは最低１つのダンジョンが必要です")},
      {"field with tower and four dungeons",
       [](DemoEditor& e) {
         e.model.selectKind(AreaKind::Field);
         e.choose(kMistMarsh);
         for (int i = 1; i < 4; ++i)
           e.model.toggleCheck(CheckList::Dungeons, i);
       },
       cp932("ダンジョンは４つまでです！")},
      {"fifth area",
       [](DemoEditor& e) {
         for (int i = 0; i < 4; ++i)
           e.place(AreaKind::Field, kWindHill, 64 * i, 0);
         e.choose(kWindHill);
       },
       cp932("マップパーツは４つまでです！")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DemoEditor editor;
    c.prepare(editor);
    const world::AreaSlotTable before = editor.model.areaSlots();
    const AreaKind kind = editor.model.RadioButtons().selected;
    editor.model.Image2MouseMove(320, 160);
    const canvas::Canvas map = editor.model.Image2();
    editor.model.Image2Click();
    EXPECT_EQ(editor.dialogs.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(editor.model.areaSlots().usedCount(), before.usedCount());
    EXPECT_TRUE(samePixels(editor.model.Image2(), map));
    EXPECT_EQ(editor.model.RadioButtons().selected, kind);
    EXPECT_EQ(editor.model.ListBox2().count(), before.usedCount());
  }
}

TEST(Placement, FieldWithoutTowerTakesFourDungeons) {
  DemoEditor editor;
  editor.model.selectKind(AreaKind::Field);
  editor.choose(kMeadow);
  for (int i = 1; i < 4; ++i)
    editor.model.toggleCheck(CheckList::Dungeons, i);
  editor.clickAt(0, 0);
  EXPECT_TRUE(editor.dialogs.messages.empty());
  EXPECT_EQ(editor.model.areaSlots()[0].objectCount, 4);
  EXPECT_EQ(editor.model.areaSlots()[0].specialId, world::kNoSpecial);
}

TEST(Placement, OneLinkGatePerWorld) {
  DemoEditor editor;
  editor.place(AreaKind::LinkGate, kStarGate, 0, 0);
  EXPECT_EQ(editor.model.RadioButtons().selected, AreaKind::Field);
  EXPECT_FALSE(editor.model.RadioButtons().isEnabled(AreaKind::LinkGate));
  EXPECT_FALSE(editor.model.CheckListBox2().visible);
  editor.place(AreaKind::Field, kMoonTemple, 256, 128);  // the field kind stays selected
  EXPECT_EQ(editor.model.areaSlots()[1].kind, world::AreaKind::Field);
  EXPECT_FALSE(editor.model.RadioButtons().isEnabled(AreaKind::LinkGate));
}

TEST(PlacedAreas, SelectingOneShowsItAgainWithDefaultChecks) {
  DemoEditor editor;
  editor.place(AreaKind::LinkGate, kGateOfBeginnings, 0, 0);
  editor.model.selectKind(AreaKind::Town);
  editor.choose(kHarbourTown);
  editor.model.toggleCheck(CheckList::Houses, 3);
  editor.clickAt(256, 0);
  ASSERT_EQ(editor.model.areaSlots()[1].objectCount, 4);
  editor.choose(kWindHill);
  editor.model.setListBox2Selection(1);
  editor.model.ListBox2Click();
  EXPECT_EQ(editor.model.ListBox1().selected, kHarbourTown);
  EXPECT_EQ(editor.model.ListBox2().selected, -1);
  EXPECT_EQ(editor.model.cursor().width, 128);
  EXPECT_EQ(editor.model.CheckListBox2().checked,
            (std::vector<bool>{true, true, true, false, false, false}));
}

}  // namespace
}  // namespace ws::editor::testing
