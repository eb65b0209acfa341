// Choosing an area, moving the cursor over the world map, and clicking it to
// place or remove areas.
#include <vector>

#include "editor/editor_model.h"
#include "editor/game_file_reading.h"
#include "editor/placed_area_item.h"
#include "editor/world_map.h"
#include "gamedata/area_preview.h"
#include "world/placement.h"

namespace ws::editor {

namespace {

// The cursor moves over the world map in steps of this many pixels.
constexpr int kCursorStep = 32;

// The default checks of a freshly chosen area: its first dungeon, and its
// first three houses when it has enough of them for a town.
constexpr int kDefaultHouseChecks = 3;

}  // namespace

gamedata::AreaSize EditorModel::drawPreview(const gamedata::AreaMapFile& file) {
  clearPreview(image1_);
  Result<gamedata::AreaSize> size = gamedata::DrawAreaMap(file, image1_);
  if (!size) {
    dialogs_.showError(size.error());
    return gamedata::AreaSize{};
  }
  return *size;
}

void EditorModel::resizeCursor(gamedata::AreaSize size) {
  cursor_.width = size.width;
  cursor_.height = size.height;
  if (cursor_.x + cursor_.width > world::kWorldMapWidth) {
    cursor_.x = world::kWorldMapWidth - cursor_.width;
  }
  if (cursor_.y + cursor_.height > world::kWorldMapHeight) {
    cursor_.y = world::kWorldMapHeight - cursor_.height;
  }
  cursor_.storeCorners();
}

void EditorModel::checkDefaults() {
  if (checkListBox1_.count() > 0) checkListBox1_.setChecked(0, true);
  if (checkListBox2_.count() >= kDefaultHouseChecks) {
    for (int i = 0; i < kDefaultHouseChecks; ++i)
      checkListBox2_.setChecked(i, true);
  }
}

void EditorModel::highlightSelectedKind() {
  highlightKind(radioButtons_.selected);
}

void EditorModel::ListBox1Click() {
  const int areaNumber = listBox1_.selected;
  if (areaNumber < 0) return;
  listBox2_.selected = -1;

  // A missing or unreadable file leaves the preview, the lists and the
  // cursor's size as they were; a placement of that area is refused later.
  const Result<gamedata::AreaMapFile> file =
      readCatalogueArea(gameFolder_, listBox1_.items, areaNumber);
  if (file) {
    eraseCursor();
    const gamedata::AreaSize size = drawPreview(*file);
    resizeCursor(size);
    drawCursor();
    // A file the drawing refused gives no objects either: nothing that was
    // not read may be offered for placement.
    FillObjectLists(file->isValid() ? *file : gamedata::AreaMapFile{});
    checkDefaults();
    highlightSelectedKind();
  }
  cursor_.armed = true;
}

void EditorModel::ListBox2Click() {
  if (listBox2_.selected < 0) return;
  const int areaNumber = placedAreas_.at(static_cast<std::size_t>(listBox2_.selected));
  if (areaNumber < 0 || areaNumber >= listBox1_.count()) return;
  listBox1_.selected = areaNumber;
  ListBox1Click();
}

void EditorModel::clearPlacedAreas() {
  placedAreas_.clear();
  listBox2_.clear();
}

void EditorModel::listPlacedArea(int areaNumber) {
  placedAreas_.push_back(areaNumber);
  listBox2_.add(placedAreaItem(listBox1_.item(areaNumber), areaNumber));
}

void EditorModel::Image2MouseMove(int x, int y) {
  if (!cursor_.armed) return;
  // Held inside the map first, then snapped; the snap truncates toward zero,
  // so a mouse dragged past the left or top edge gives 0 and then -32, ...
  if (x + cursor_.width > world::kWorldMapWidth) x = world::kWorldMapWidth - cursor_.width;
  if (y + cursor_.height > world::kWorldMapHeight) y = world::kWorldMapHeight - cursor_.height;
  eraseCursor();
  cursor_.x = x / kCursorStep * kCursorStep;
  cursor_.y = y / kCursorStep * kCursorStep;
  cursor_.storeCorners();
  drawCursor();
}

// A click over placed areas removes every one the cursor overlaps (touching
// edges do not count) and places nothing. The list keeps the others, in slot
// order. True when an area was removed.
bool EditorModel::removeAreasUnderCursor() {
  clearPlacedAreas();
  bool removed = false;
  for (int i = 0; i < world::kSlotCount; ++i) {
    const world::AreaSlot& slot = areaSlots_[i];
    if (!slot.used) continue;
    if (!world::AreasOverlap(slot, cursor_.x, cursor_.y, cursor_.width, cursor_.height)) {
      listPlacedArea(slot.areaNumber);
      continue;
    }
    areaSlots_.free(i);
    eraseCursor();
    clearWorldRect(image2_, slot.x, slot.y, slot.width, slot.height);
    drawCursor();
    if (slot.kind == world::AreaKind::LinkGate)
      radioButtons_.setEnabled(world::AreaKind::LinkGate, true);
    removed = true;
  }
  return removed;
}

void EditorModel::Image2Click() {
  if (!cursor_.armed) return;
  if (removeAreasUnderCursor()) {
    recordStep();  // every area this click removed, as one step
    return;
  }

  world::PlacementRequest request;
  request.areaNumber = listBox1_.selected;
  request.kind = radioButtons_.selected;
  request.x = cursor_.x;
  request.y = cursor_.y;
  request.width = cursor_.width;
  request.height = cursor_.height;
  const CheckListBox& candidates =
      request.kind == world::AreaKind::Town ? checkListBox2_ : checkListBox1_;
  request.checked = candidates.checked;

  // No site conflict has a message of its own: the cursor lies partly off
  // the map only after a drag past the left or top edge (an area placed
  // there would be saved with a rectangle outside the world map), and the
  // link gate kind cannot be chosen while a link gate area stands.
  if (world::FindSiteConflict(areaSlots_, request)) return;

  const Result<gamedata::AreaMapFile> mapFile =
      readCatalogueArea(gameFolder_, listBox1_.items, request.areaNumber);
  const Result<int> placed = world::PlaceArea(areaSlots_, request, mapFile);
  if (!placed) {
    dialogs_.showError(placed.error());
    return;
  }
  const world::AreaSlot& slot = areaSlots_[*placed];
  listPlacedArea(slot.areaNumber);
  stampPreview(image2_, image1_, cursor_.x, cursor_.y);

  // One link gate per world: once it stands, the kind is taken away until
  // that area is removed.
  if (slot.kind == world::AreaKind::LinkGate) {
    selectKind(world::AreaKind::Field);
    radioButtons_.setEnabled(world::AreaKind::LinkGate, false);
  }
  recordStep();
}

}  // namespace ws::editor
