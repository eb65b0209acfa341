// LOAD: a save file back into the slots, the lists and the canvases.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "codec/save_container.h"
#include "editor/editor_model.h"
#include "editor/game_file_reading.h"
#include "editor/placed_area_item.h"
#include "editor/world_map.h"
#include "gamedata/area_preview.h"
#include "platform/file_io.h"
#include "world/placement.h"
#include "world/save_body.h"
#include "world/save_body_parse.h"

namespace ws::editor {

namespace {

// Everything a load needs, read and checked before the editor changes.
struct LoadedWorld {
  world::AreaSlotTable slots;
  std::vector<gamedata::AreaMapFile> mapFiles;  // one per loaded area, in slot order
};

}  // namespace

void EditorModel::Button1Click() {
  // Unsaved work is saved or given up first; Cancel loads nothing.
  if (!FormCloseQuery()) return;
  const std::optional<std::filesystem::path> path = dialogs_.chooseOpenFile(openDialogFolder_);
  if (!path) return;
  loadFile(*path);
}

bool EditorModel::loadFile(const std::filesystem::path& path) {
  // Read and check everything first: a file that fails anywhere shows its
  // message and leaves the editor exactly as it was.
  Result<std::optional<codec::Bytes>> file = readSaveFileForWindow(path);
  if (!file) {
    dialogs_.showError(file.error());
    return false;
  }
  if (!file->has_value()) return false;  // no such file: nothing to say
  return loadSaveBody(**file, platform::pathForMessage(path));
}

bool EditorModel::loadSaveBody(std::span<const std::uint8_t> body, std::string_view fileName) {
  const Result<world::ParsedSaveBody> parsed = world::ParseSaveBody(body, fileName);
  if (!parsed) {
    dialogs_.showError(parsed.error());
    return false;
  }

  LoadedWorld loaded;
  for (const world::LoadedArea& area : parsed->areas) {
    Result<gamedata::AreaMapFile> mapFile =
        readCatalogueArea(gameFolder_, listBox1_.items, area.areaNumber);
    if (!mapFile) {
      dialogs_.showError(mapFile.error());
      return false;
    }
    if (!mapFile->isValid()) {
      dialogs_.showError(gamedata::notMsgFileError(*mapFile));
      return false;
    }
    loaded.mapFiles.push_back(std::move(*mapFile));
  }
  const auto mapOf = [&](int areaNumber) -> Result<gamedata::AreaMapFile> {
    for (std::size_t i = 0; i < parsed->areas.size(); ++i) {
      if (parsed->areas[i].areaNumber == areaNumber) return loaded.mapFiles[i];
    }
    return readCatalogueArea(gameFolder_, listBox1_.items, areaNumber);
  };
  Result<world::AreaSlotTable> slots = world::RestoreAreaSlots(*parsed, mapOf);
  if (!slots) {
    dialogs_.showError(slots.error());
    return false;
  }
  loaded.slots = *slots;
  showLoadedWorld(loaded.slots, loaded.mapFiles);
  // The name field takes the save's name, so that saving again keeps it; a
  // name that fills the whole field loses what the field cannot hold.
  NameChange name{edit1_, world::fitWorldName(parsed->worldName)};
  edit1_ = name.after;
  // A load is one step (undo brings back the world and the name before it),
  // and the world now is the file's.
  recordStep(std::move(name));
  modified_ = false;
  return true;
}

Result<std::vector<gamedata::AreaMapFile>> EditorModel::readMapFilesOf(
    const world::AreaSlotTable& slots) {
  std::vector<gamedata::AreaMapFile> files;
  for (int k = 0; k < world::kSlotCount; ++k) {
    if (!slots[k].used) continue;
    Result<gamedata::AreaMapFile> file =
        world::readAreaMapFile(gameFolder_, listBox1_.items, slots[k].areaNumber);
    if (!file) return file.error();
    if (!file->isValid()) return gamedata::notMsgFileError(*file);
    files.push_back(std::move(*file));
  }
  return files;
}

// Shows a loaded world; nothing here can fail any more.
void EditorModel::showLoadedWorld(const world::AreaSlotTable& slots,
                                  const std::vector<gamedata::AreaMapFile>& mapFiles) {
  clearWorldRect(image2_, 0, 0, image2_.width(), image2_.height());
  areaSlots_ = slots;
  clearPlacedAreas();
  areaSlots_.forEachUsed([&](int, const world::AreaSlot& slot) {
    listPlacedArea(slot.areaNumber);
    listBox1_.selected = slot.areaNumber;
  });

  // A loaded world fills the slots from 0; a restored one may have gaps.
  gamedata::AreaSize lastSize{cursor_.width, cursor_.height};
  std::size_t fileIndex = 0;
  for (int k = 0; k < world::kSlotCount && fileIndex < mapFiles.size(); ++k) {
    const world::AreaSlot& slot = areaSlots_[k];
    if (!slot.used) continue;
    const gamedata::AreaMapFile& file = mapFiles[fileIndex++];
    lastSize = drawPreview(file);
    FillObjectLists(file);

    // Check the saved choices: the list items whose object, by the low byte
    // of its number as the body stores it, is among the slot's chosen ones.
    const bool town = slot.kind == world::AreaKind::Town;
    CheckListBox& list = town ? checkListBox2_ : checkListBox1_;
    const auto& candidates = town ? shownObjects_.houses : shownObjects_.dungeons;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      const auto id = static_cast<std::uint8_t>(candidates[i].index & 0xFF);
      const auto chosen = slot.objectIds.begin() + slot.objectCount;
      if (std::find(slot.objectIds.begin(), chosen, id) != chosen) {
        list.setChecked(static_cast<int>(i), true);
      }
    }
    highlightKind(slot.kind);
    stampPreview(image2_, image1_, slot.x, slot.y);
  }

  // A loaded world holds its link gate: the town kind is selected (its
  // handler runs when it was not selected) and the link gate kind is taken
  // away until that area is removed.
  selectKind(world::AreaKind::Town);
  radioButtons_.setEnabled(world::AreaKind::LinkGate, false);

  // The catalogue now selects the last loaded area, so the cursor takes that
  // area's size: the next click places that area with its own rectangle.
  // The map was wiped above, so there is no old outline to erase.
  resizeCursor(lastSize);
  drawCursor();
  cursor_.armed = true;
}

}  // namespace ws::editor
