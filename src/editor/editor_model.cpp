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
  offerRecovery();
  return true;
}

// Finds the game folder and reads its catalogue: the folder given on the
// command line, else the located one (environment, registry), else the one
// remembered from an earlier run; failing those the user is asked until a
// folder with the catalogue is chosen. Cancel ends the start-up.
bool EditorModel::InitGameFolder() {
  std::optional<FoundGame> found = locateGame();
  if (!found) found = askForGame();
  if (!found) return false;
  gameFolder_ = std::move(found->folder);
  saveDialogFolder_ = platform::saveFolderPath(gameFolder_);
  openDialogFolder_ = saveDialogFolder_;
  listBox1_.items = std::move(found->catalogue);
  listBox1_.selected = -1;
  return true;
}

std::optional<EditorModel::FoundGame> EditorModel::locateGame() {
  if (const auto located = platform::locateGameFolder(options_.gameFolder)) {
    Result<gamedata::AreaCatalogue> catalogue =
        gamedata::LoadAreaCatalogue(platform::cataloguePath(*located));
    if (catalogue) return FoundGame{*located, std::move(*catalogue)};
    dialogs_.logLine("no area catalogue in the game folder: " + catalogue.error().message);
  }
  // A folder named on the command line is the user's word: nothing
  // remembered stands in for it.
  platform::GameFolderStore* store = options_.gameFolderStore;
  if (options_.gameFolder || store == nullptr) return std::nullopt;
  const std::optional<std::filesystem::path> remembered = store->rememberedGameFolder();
  if (!remembered) return std::nullopt;
  Result<gamedata::AreaCatalogue> catalogue =
      gamedata::LoadAreaCatalogue(platform::cataloguePath(*remembered));
  if (catalogue) return FoundGame{*remembered, std::move(*catalogue)};
  // The game moved or was removed: the remembered folder is given up.
  dialogs_.logLine("the remembered game folder is forgotten: " + catalogue.error().message);
  store->forgetGameFolder();
  return std::nullopt;
}

std::optional<EditorModel::FoundGame> EditorModel::askForGame() {
  dialogs_.showMessage(kChooseGameFolderMessage);
  for (;;) {
    const std::optional<std::filesystem::path> chosen =
        dialogs_.chooseFolder(kChooseGameFolderInstruction);
    if (!chosen) return std::nullopt;
    Result<gamedata::AreaCatalogue> catalogue =
        gamedata::LoadAreaCatalogue(platform::cataloguePath(*chosen));
    if (catalogue) {
      if (options_.gameFolderStore != nullptr)
        options_.gameFolderStore->rememberGameFolder(*chosen);
      return FoundGame{*chosen, std::move(*catalogue)};
    }
    dialogs_.showError(Error{folderLacksCatalogueMessage(*chosen), catalogue.error().message});
  }
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

void EditorModel::chooseListBox1(int index) {
  setListBox1Selection(index);
  ListBox1Click();
}

void EditorModel::chooseListBox2(int index) {
  setListBox2Selection(index);
  ListBox2Click();
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
  keepRecovery();
  return true;
}

}  // namespace ws::editor
