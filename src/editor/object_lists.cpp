// The object check lists of the chosen area and the markers on the preview.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "editor/editor_model.h"
#include "gamedata/area_facts.h"
#include "gamedata/area_preview.h"
#include "gamedata/object_item.h"

namespace ws::editor {

namespace {

// Positions of the special objects in CheckListBox3.
constexpr int kChurchItem = 0;
constexpr int kTowerItem = 1;
constexpr int kLinkGateItem = 2;

// The item of the first object with `key`, or the empty text when the area
// has none.
std::string specialItem(const gamedata::AreaMapFile& file, std::uint16_t key,
                        gamedata::ObjectItemKind kind) {
  const std::vector<gamedata::AreaObjectRef> found = gamedata::QueryAreaObjects(file, key, 1);
  return found.empty() ? std::string() : gamedata::formatObjectItem(kind, found.front());
}

}  // namespace

void EditorModel::FillObjectLists(const gamedata::AreaMapFile& file) {
  checkListBox1_.clear();
  checkListBox2_.clear();
  checkListBox3_.clear();

  // The candidate lists hold every result of their query, in query order,
  // so that item k stands for result k when a placement reads the marks.
  const std::size_t room = static_cast<std::size_t>(std::max(file.placeCount(), 0));
  for (const gamedata::AreaObjectRef& dungeon :
       gamedata::QueryAreaObjects(file, gamedata::KeyDungeon, room)) {
    checkListBox1_.add(gamedata::formatObjectItem(gamedata::ObjectItemKind::Dungeon, dungeon));
  }
  const std::vector<gamedata::AreaObjectRef> houses =
      gamedata::QueryAreaObjects(file, gamedata::KeyHouse, room);
  for (const gamedata::AreaObjectRef& house : houses) {
    checkListBox2_.add(gamedata::formatObjectItem(gamedata::ObjectItemKind::House, house));
  }

  std::size_t houseCount = houses.size();
  std::string church = specialItem(file, gamedata::KeyChurch, gamedata::ObjectItemKind::Church);
  if (church.empty()) houseCount = 0;  // no church, no town
  checkListBox3_.add(std::move(church));
  checkListBox3_.add(specialItem(file, gamedata::KeyTower, gamedata::ObjectItemKind::Tower));
  checkListBox3_.add(specialItem(file, gamedata::KeyLinkGate, gamedata::ObjectItemKind::LinkGate));

  radioButtons_.setEnabled(world::AreaKind::Town, true);
  if (houseCount < static_cast<std::size_t>(gamedata::kTownMinimumHouses)) {
    if (radioButtons_.selected == world::AreaKind::Town) selectKind(world::AreaKind::Field);
    radioButtons_.setEnabled(world::AreaKind::Town, false);
  }
}

void EditorModel::highlightList(const CheckListBox& list) {
  for (int i = 0; i < list.count(); ++i) {
    gamedata::DrawObjectMarker(image1_, list.item(i), gamedata::kMarkerCyan,
                               list.isChecked(i) ? gamedata::kMarkerCyan : canvas::kWhite);
  }
}

void EditorModel::highlightSpecial(int item, canvas::Colour colour) {
  gamedata::DrawObjectMarker(image1_, checkListBox3_.item(item), colour, colour);
}

void EditorModel::HighlightMarkers(MarkerMode mode) {
  switch (mode) {
    case MarkerMode::Clear:
      // Painting over: white for every marker but the tower's, which is
      // black. The brush stays as the last marker left it.
      for (int i = 0; i < checkListBox2_.count(); ++i) {
        gamedata::DrawObjectMarker(image1_, checkListBox2_.item(i), canvas::kWhite, canvas::kWhite);
      }
      for (int i = 0; i < checkListBox1_.count(); ++i) {
        gamedata::DrawObjectMarker(image1_, checkListBox1_.item(i), canvas::kWhite, canvas::kWhite);
      }
      highlightSpecial(kChurchItem, canvas::kWhite);
      highlightSpecial(kTowerItem, canvas::kBlack);
      highlightSpecial(kLinkGateItem, canvas::kWhite);
      return;
    case MarkerMode::Houses:
      highlightList(checkListBox2_);
      break;
    case MarkerMode::Dungeons:
      highlightList(checkListBox1_);
      break;
    case MarkerMode::Church:
      highlightSpecial(kChurchItem, gamedata::kMarkerYellow);
      break;
    case MarkerMode::Tower:
      highlightSpecial(kTowerItem, gamedata::kMarkerCyan);
      break;
    case MarkerMode::LinkGate:
      highlightSpecial(kLinkGateItem, gamedata::kMarkerYellow);
      break;
  }
  // The next black fill of the preview uses this brush.
  image1_.brush = canvas::kBlack;
}

}  // namespace ws::editor
