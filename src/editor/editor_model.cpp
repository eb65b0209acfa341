#include "editor/editor_model.h"

#include <utility>

#include "editor/editor_messages.h"
#include "editor/world_map.h"
#include "gamedata/area_catalogue.h"
#include "platform/game_paths.h"
#include "world/kind_objects.h"
#include "world/save_body_layout.h"

namespace ws::editor {

EditorModel::EditorModel(Dialogs& dialogs, EditorOptions options)
    : dialogs_(dialogs), options_(std::move(options)), edit1_(world::kDefaultWorldName) {
  // The controls as the window shows them before start-up: the dungeon list
  // visible, the house list and the special list hidden, the link gate kind
  // selected, both images black.
  checkListBox2_.visible = false;
  checkListBox3_.visible = false;
  setUpPreview(image1_);
  image2_.reset(world::kWorldMapWidth, world::kWorldMapHeight, canvas::kBlack);
}

bool EditorModel::FormCreate() {
  if (!InitGameFolder()) return false;
  setUpWindow();
  return true;
}

// Finds the game folder and reads its catalogue. When the located folder has
// no readable catalogue the user is asked for the folder; a cancelled dialog
// or a folder without a catalogue ends the start-up.
bool EditorModel::InitGameFolder() {
  const std::optional<std::filesystem::path> located =
      platform::locateGameFolder(options_.gameFolder);
  Result<gamedata::AreaCatalogue> catalogue = Error{"no game folder located"};
  if (located) {
    gameFolder_ = *located;
    openDialogFolder_ = platform::saveFolderPath(gameFolder_);
    catalogue = gamedata::LoadAreaCatalogue(platform::cataloguePath(gameFolder_));
  }
  if (!catalogue) {
    dialogs_.showMessage(kChooseGameFolderMessage);
    const std::optional<std::filesystem::path> chosen = dialogs_.chooseFolder();
    if (!chosen) return false;
    catalogue = gamedata::LoadAreaCatalogue(platform::cataloguePath(*chosen));
    if (!catalogue) return false;
    gameFolder_ = *chosen;
  }
  saveDialogFolder_ = platform::saveFolderPath(gameFolder_);
  openDialogFolder_ = saveDialogFolder_;
  listBox1_.items = std::move(*catalogue);
  listBox1_.selected = -1;
  return true;
}

void EditorModel::setUpWindow() {
  setUpPreview(image1_);
  setUpWorldMap(image2_);
  cursor_.storeCorners();
  drawCursor();
  areaSlots_.clear();
  windowSetUp_ = true;
  history_.reset(currentWorld());
}

void EditorModel::eraseCursor() {
  drawCursorOutline(image2_, cursor_);
}

void EditorModel::drawCursor() {
  drawCursorOutline(image2_, cursor_);
}

void EditorModel::selectKind(world::AreaKind kind) {
  if (radioButtons_.selected == kind) return;
  radioButtons_.selected = kind;
  runKindHandler(kind);
}

void EditorModel::runKindHandler(world::AreaKind kind) {
  switch (kind) {
    case world::AreaKind::LinkGate:
      RadioButton1Click();
      break;
    case world::AreaKind::Field:
      RadioButton2Click();
      break;
    case world::AreaKind::Town:
      RadioButton3Click();
      break;
  }
}

void EditorModel::RadioButton1Click() {
  showKind(world::AreaKind::LinkGate);
}

void EditorModel::RadioButton2Click() {
  showKind(world::AreaKind::Field);
}

void EditorModel::RadioButton3Click() {
  showKind(world::AreaKind::Town);
}

// The kind handlers clear every marker, show the object list of the kind
// (the houses for a town, the dungeons otherwise) and mark that kind's
// objects.
void EditorModel::showKind(world::AreaKind kind) {
  HighlightMarkers(MarkerMode::Clear);
  const bool houses = world::objectsOfKind(kind).candidates == gamedata::ObjectItemKind::House;
  checkListBox1_.visible = !houses;
  checkListBox2_.visible = houses;
  highlightKind(kind);
}

void EditorModel::CheckListBox1ClickCheck() {
  HighlightMarkers(MarkerMode::Dungeons);
}

void EditorModel::CheckListBox2ClickCheck() {
  HighlightMarkers(MarkerMode::Houses);
}

void EditorModel::setListBox1Selection(int index) {
  listBox1_.selected = index >= 0 && index < listBox1_.count() ? index : -1;
}

void EditorModel::setListBox2Selection(int index) {
  listBox2_.selected = index >= 0 && index < listBox2_.count() ? index : -1;
}

CheckListBox& EditorModel::checkList(CheckList list) {
  return list == CheckList::Houses ? checkListBox2_ : checkListBox1_;
}

void EditorModel::setChecked(CheckList list, int index, bool mark) {
  checkList(list).setChecked(index, mark);
}

void EditorModel::toggleCheck(CheckList list, int index) {
  CheckListBox& box = checkList(list);
  if (index < 0 || index >= box.count()) return;
  box.setChecked(index, !box.isChecked(index));
  if (list == CheckList::Houses) {
    CheckListBox2ClickCheck();
  } else {
    CheckListBox1ClickCheck();
  }
}

bool EditorModel::setWorldName(std::string cp932Name) {
  if (cp932Name.size() > world::kWorldNameMaxBytes) return false;
  edit1_ = std::move(cp932Name);
  return true;
}

}  // namespace ws::editor
