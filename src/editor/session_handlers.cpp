// What the editor does beyond its handlers: undo and redo, the question
// before unsaved work is set aside, opening a save by file, the catalogue's
// area hints and the world map as a picture.
#include <system_error>
#include <utility>

#include "canvas/png_image.h"
#include "editor/area_hint.h"
#include "editor/editor_messages.h"
#include "editor/editor_model.h"
#include "editor/world_map.h"
#include "gamedata/area_facts.h"
#include "platform/file_io.h"
#include "world/world_messages.h"

namespace ws::editor {

WorldState EditorModel::currentWorld() const {
  WorldState state;
  state.slots = areaSlots_;
  state.placedAreas = placedAreas_;
  state.kinds = radioButtons_;
  state.map = PackedPixels(worldPictureCanvas());
  return state;
}

void EditorModel::recordStep(std::optional<NameChange> name) {
  WorldState state = currentWorld();
  state.name = std::move(name);
  history_.record(std::move(state));
  markModified();
}

void EditorModel::showWorld(const WorldState& state) {
  areaSlots_ = state.slots;
  clearPlacedAreas();
  for (const int areaNumber : state.placedAreas)
    listPlacedArea(areaNumber);
  state.map.unpackInto(image2_);
  drawCursor();
  // The kind selected after that step, with its handler when it changes, so
  // that the shown object list and the markers follow the kind.
  selectKind(state.kinds.selected);
  radioButtons_.enabled = state.kinds.enabled;
}

void EditorModel::undo() {
  if (!history_.canUndo()) return;
  // The step undone is the world shown now; a name it set goes back.
  if (const std::optional<NameChange>& name = history_.current().name) edit1_ = name->before;
  showWorld(history_.undo());
  markModified();
}

void EditorModel::redo() {
  if (!history_.canRedo()) return;
  const WorldState& redone = history_.redo();
  if (redone.name) edit1_ = redone.name->after;
  showWorld(redone);
  markModified();
}

bool EditorModel::FormCloseQuery() {
  if (!modified_) return true;
  switch (dialogs_.askSaveChanges(kSaveChangesQuestion)) {
    case SaveChoice::Save:
      return saveWorld();
    case SaveChoice::DontSave:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

bool EditorModel::openFile(const std::filesystem::path& path) {
  // A file named on the command line or dropped was meant to exist, unlike
  // a name typed into LOAD's dialog: its absence is said, naming it.
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
    dialogs_.showError(
        Error{world::fileMissingMessage(path), "no such file: " + platform::pathForMessage(path)});
    return false;
  }
  if (!FormCloseQuery()) return false;
  return loadFile(path);
}

const std::string& EditorModel::areaHint(int index) {
  static const std::string kNoHint;
  if (index < 0 || index >= listBox1_.count()) return kNoHint;
  const auto at = static_cast<std::size_t>(index);
  if (hints_.size() != listBox1_.items.size()) hints_.assign(listBox1_.items.size(), std::nullopt);
  if (!hints_[at]) {
    hints_[at] = areaHintText(gamedata::ReadAreaFacts(gameFolder_, listBox1_.item(index)));
  }
  return *hints_[at];
}

canvas::Canvas EditorModel::worldPictureCanvas() const {
  canvas::Canvas picture = image2_;
  // The outline is drawn by inverting: drawing it once more takes it away.
  if (windowSetUp_) drawCursorOutline(picture, cursor_);
  return picture;
}

bool EditorModel::saveWorldPicture() {
  const std::optional<std::filesystem::path> path =
      dialogs_.choosePictureFile(kDefaultPictureFileName);
  if (!path) return false;
  const std::vector<std::uint8_t> png = canvas::encodePng(worldPictureCanvas());
  const Status written = platform::writeFileAtomic(*path, png);
  if (!written) {
    dialogs_.showError(written.error());
    return false;
  }
  return true;
}

}  // namespace ws::editor
