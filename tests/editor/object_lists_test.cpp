#include "editor_fixture.h"
#include "gamedata/area_preview.h"

namespace ws::editor::testing {
namespace {

using gamedata::kMarkerCyan;
using gamedata::kMarkerYellow;
constexpr canvas::Colour kWhite = canvas::kWhite;
constexpr canvas::Colour kBlack = canvas::kBlack;

// Marker centres of the test area: an object at cell x, row y has its
// marker centred at (x, y / 2 + 5) on the preview.
constexpr canvas::Point kDungeon[] = {{10, 10}, {30, 10}, {50, 10}};
constexpr canvas::Point kHouse[] = {{10, 25}, {30, 25}, {50, 25}};
constexpr canvas::Point kChurch{20, 17};
constexpr canvas::Point kTower{40, 17};
constexpr canvas::Point kLinkGate{60, 17};

// A game of one area holding three dungeons, three houses, a church, a tower
// and a link gate at known places on an all-black map.
const fs::path& markerGame() {
  static const fs::path folder = [] {
    fs::path game = freshFolder("markers");
    demo::AreaDescription area;
    area.gridWidth = 64;
    area.gridHeight = 64;
    area.attributes.assign(64 * 64, 1);                  // bit 0: black
    area.objects = {{gamedata::KeyTownsfolkSpot, 5, 5},  // unnumbered
                    {gamedata::KeyDungeon, 10, 10},     {gamedata::KeyDungeon, 30, 10},
                    {gamedata::KeyDungeon, 50, 10},     {gamedata::KeyHouse, 10, 40},
                    {gamedata::KeyHouse, 30, 40},       {gamedata::KeyHouse, 50, 40},
                    {gamedata::KeyChurch, 20, 24},      {gamedata::KeyTower, 40, 24},
                    {gamedata::KeyLinkGate, 60, 24}};
    area.spotCapacity = 1;
    area.placeCount = 9;
    const std::vector<std::string> names{"marks"};
    writeFile(game / "res" / "Mif_area.bin", demo::buildCatalogueFile(names));
    writeFile(game / "data" / "map" / "mif" / "area" / "marks", demo::buildAreaMapFile(area));
    return game;
  }();
  return folder;
}

struct MarkerEditor {
  ScriptedDialogs dialogs;
  EditorModel model{dialogs, EditorOptions{markerGame()}};

  explicit MarkerEditor(AreaKind kind) {
    EXPECT_TRUE(model.FormCreate());
    model.selectKind(kind);
    model.setListBox1Selection(0);
    model.ListBox1Click();
  }
  canvas::Colour at(canvas::Point p) const { return model.Image1().pixel(p.x, p.y); }
};

TEST(ObjectLists, ListItemsFollowQueryOrderWithDefaultChecks) {
  MarkerEditor editor(AreaKind::LinkGate);
  const EditorModel& model = editor.model;
  ASSERT_EQ(model.CheckListBox1().count(), 3);
  ASSERT_EQ(model.CheckListBox2().count(), 3);
  // x in half cells and y in rows, then the object number.
  EXPECT_EQ(model.CheckListBox1().item(0), cp932("洞窟(") + "0014,000A)00");
  EXPECT_EQ(model.CheckListBox2().item(2), cp932("民家(") + "0064,0028)05");
  EXPECT_EQ(model.CheckListBox3().items,
            (std::vector<std::string>{"chur(0028,0018", "towe(0050,0018", "link(0078,0018"}));
  EXPECT_EQ(model.CheckListBox1().checked, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(model.CheckListBox2().checked, (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(model.RadioButtons().isEnabled(AreaKind::Town));
}

TEST(ObjectLists, MarkersOfTheSelectedKind) {
  struct Case {
    AreaKind kind;
    std::vector<std::pair<canvas::Point, canvas::Colour>> expected;
  };
  const Case cases[] = {
      {AreaKind::LinkGate,
       {{kDungeon[0], kMarkerCyan},
        {kDungeon[1], kWhite},
        {kLinkGate, kMarkerYellow},
        {kTower, kBlack},
        {kChurch, kBlack},
        {kHouse[0], kBlack}}},
      {AreaKind::Field,
       {{kDungeon[0], kMarkerCyan},
        {kDungeon[2], kWhite},
        {kTower, kMarkerCyan},
        {kLinkGate, kBlack},
        {kHouse[1], kBlack}}},
      {AreaKind::Town,
       {{kHouse[0], kMarkerCyan},
        {kHouse[2], kMarkerCyan},
        {kChurch, kMarkerYellow},
        {kDungeon[0], kBlack},
        {kTower, kBlack}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    MarkerEditor editor(c.kind);
    for (const auto& [point, colour] : c.expected) {
      EXPECT_EQ(editor.at(point), colour) << point.x << "," << point.y;
    }
    EXPECT_EQ(editor.model.Image1().brush, kBlack);
  }
}

TEST(ObjectLists, ClearModePaintsMarkersOverAndLeavesItsBrush) {
  MarkerEditor editor(AreaKind::Field);
  editor.model.HighlightMarkers(MarkerMode::Clear);
  for (canvas::Point p : {kDungeon[0], kDungeon[1], kHouse[0], kChurch, kLinkGate}) {
    EXPECT_EQ(editor.at(p), kWhite) << p.x << "," << p.y;
  }
  EXPECT_EQ(editor.at(kTower), kBlack);
  EXPECT_NE(editor.model.Image1().brush, kBlack);
  editor.model.HighlightMarkers(MarkerMode::Tower);  // any other mode leaves the brush black
  EXPECT_EQ(editor.model.Image1().brush, kBlack);
  EXPECT_EQ(editor.at(kDungeon[0]), kWhite);
}

TEST(ObjectLists, MarkersFollowTheUsersCheckMarks) {
  MarkerEditor editor(AreaKind::LinkGate);
  editor.model.toggleCheck(CheckList::Dungeons, 1);
  editor.model.toggleCheck(CheckList::Dungeons, 0);
  EXPECT_EQ(editor.at(kDungeon[1]), kMarkerCyan);
  EXPECT_EQ(editor.at(kDungeon[0]), kWhite);
  EXPECT_EQ(editor.model.CheckListBox1().checked, (std::vector<bool>{false, true, false}));
}

TEST(ObjectLists, MarksSetFromCodeAndReselectingAKindRunNothing) {
  MarkerEditor editor(AreaKind::Town);
  editor.model.setChecked(CheckList::Houses, 0, false);
  editor.model.selectKind(AreaKind::Town);  // already selected: no handler
  EXPECT_EQ(editor.at(kHouse[0]), kMarkerCyan);
  editor.model.selectKind(AreaKind::Field);
  editor.model.selectKind(AreaKind::Town);  // a real change redraws from the marks
  EXPECT_EQ(editor.at(kHouse[0]), kWhite);
}

TEST(ObjectLists, KindBeforeAnyAreaOnlySwitchesTheList) {
  ScriptedDialogs dialogs;
  EditorModel model(dialogs, EditorOptions{markerGame()});
  ASSERT_TRUE(model.FormCreate());
  model.selectKind(AreaKind::Town);
  EXPECT_TRUE(model.CheckListBox2().visible);
  EXPECT_FALSE(model.CheckListBox1().visible);
  EXPECT_TRUE(samePixels(model.Image1(), canvas::Canvas(128, 64)));
}

TEST(ObjectLists, TownKindOnlyForAChurchAndThreeHouses) {
  struct Case {
    int area;
    bool town;
  };
  for (const Case c : {Case{kHarbourTown, true}, Case{kForestVillage, true}, Case{kHamlet, false},
                       Case{kChurchHill, false}, Case{kBlueForest, false}}) {
    SCOPED_TRACE(c.area);
    DemoEditor editor;
    editor.model.selectKind(AreaKind::Town);
    editor.choose(c.area);
    EXPECT_EQ(editor.model.RadioButtons().isEnabled(AreaKind::Town), c.town);
    // Taking the town kind away selects the field kind, whose handler shows
    // the dungeon list at once.
    EXPECT_EQ(editor.model.RadioButtons().selected, c.town ? AreaKind::Town : AreaKind::Field);
    EXPECT_EQ(editor.model.CheckListBox1().visible, !c.town);
    EXPECT_EQ(editor.model.CheckListBox2().visible, c.town);
  }
}

}  // namespace
}  // namespace ws::editor::testing
