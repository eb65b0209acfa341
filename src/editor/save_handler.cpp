// SAVE: the world in the slots becomes a save file.
#include <cstdint>
#include <vector>

#include "codec/save_container.h"
#include "editor/editor_model.h"
#include "world/save_body.h"

namespace ws::editor {

void EditorModel::Button2Click() {
  saveWorld();
}

bool EditorModel::saveWorld() {
  // Building the body moves the link gate to slot 0 for good, even when the
  // dialog is cancelled afterwards.
  Result<std::vector<std::uint8_t>> body = world::BuildSaveBody(
      areaSlots_, edit1_, world::townSpotsFromGame(gameFolder_, listBox1_.items));
  if (!body) {
    dialogs_.showError(body.error());
    return false;
  }
  const std::optional<std::filesystem::path> path =
      dialogs_.chooseSaveFile(saveDialogFolder_, kDefaultSaveFileName);
  if (!path) return false;
  // The save file about to be replaced is kept first; without that copy
  // nothing is replaced.
  if (!backUpBeforeReplacing(*path)) return false;
  const Status written = codec::writeSaveFile(*path, *body);
  if (!written) {
    dialogs_.showError(written.error());
    return false;
  }
  modified_ = false;
  return true;
}

}  // namespace ws::editor
