// The object check lists of the chosen area and the markers on the preview.
#include <array>
#include <cstddef>
#include <string>

#include "editor/editor_model.h"
#include "gamedata/area_contents.h"
#include "gamedata/area_preview.h"
#include "gamedata/object_item.h"
#include "world/kind_objects.h"

namespace ws::editor {

namespace {

using gamedata::ObjectItemKind;

// The special objects in the order of CheckListBox3's items.
constexpr std::array kSpecialItems{ObjectItemKind::Church, ObjectItemKind::Tower,
                                   ObjectItemKind::LinkGate};

// Every kind of object, in the order the markers are painted over.
constexpr std::array kMarkerOrder{ObjectItemKind::House, ObjectItemKind::Dungeon,
                                  ObjectItemKind::Church, ObjectItemKind::Tower,
                                  ObjectItemKind::LinkGate};

// The item of the area's special object of `kind`, or the empty text when
// the area has none.
std::string specialItem(const gamedata::AreaContents& contents, ObjectItemKind kind) {
  const auto found = gamedata::objectsOf(contents, kind);
  return found.empty() ? std::string() : gamedata::formatObjectItem(kind, found.front());
}

ObjectItemKind objectKindOf(MarkerMode mode) {
  switch (mode) {
    case MarkerMode::Houses:
      return ObjectItemKind::House;
    case MarkerMode::Dungeons:
      return ObjectItemKind::Dungeon;
    case MarkerMode::Church:
      return ObjectItemKind::Church;
    case MarkerMode::Tower:
      return ObjectItemKind::Tower;
    case MarkerMode::Clear:
    case MarkerMode::LinkGate:
      break;
  }
  return ObjectItemKind::LinkGate;
}

}  // namespace

void EditorModel::FillObjectLists(const gamedata::AreaMapFile& file) {
  shownObjects_ = gamedata::ReadAreaContents(file);
  checkListBox1_.clear();
  checkListBox2_.clear();
  checkListBox3_.clear();

  // The candidate lists hold every result of their query, in query order,
  // so that item k stands for result k when a placement reads the marks.
  for (const gamedata::AreaObjectRef& dungeon : shownObjects_.dungeons) {
    checkListBox1_.add(gamedata::formatObjectItem(ObjectItemKind::Dungeon, dungeon));
  }
  for (const gamedata::AreaObjectRef& house : shownObjects_.houses) {
    checkListBox2_.add(gamedata::formatObjectItem(ObjectItemKind::House, house));
  }
  for (const ObjectItemKind kind : kSpecialItems) {
    checkListBox3_.add(specialItem(shownObjects_, kind));
  }

  radioButtons_.setEnabled(world::AreaKind::Town, true);
  if (gamedata::RefusedKinds(shownObjects_).town != gamedata::KindRefusal::None) {
    if (radioButtons_.selected == world::AreaKind::Town) selectKind(world::AreaKind::Field);
    radioButtons_.setEnabled(world::AreaKind::Town, false);
  }
}

void EditorModel::markObjects(ObjectItemKind kind, bool paintOver) {
  const gamedata::MarkerColours colours = gamedata::markerColoursOf(kind);
  const CheckListBox* list = kind == ObjectItemKind::Dungeon ? &checkListBox1_
                             : kind == ObjectItemKind::House ? &checkListBox2_
                                                             : nullptr;
  const auto objects = gamedata::objectsOf(shownObjects_, kind);
  for (std::size_t i = 0; i < objects.size(); ++i) {
    canvas::Colour pen = colours.pen;
    canvas::Colour brush = colours.chosen;
    if (paintOver) {
      pen = colours.cleared;
      brush = colours.cleared;
    } else if (list != nullptr && !list->isChecked(static_cast<int>(i))) {
      brush = colours.unchosen;
    }
    gamedata::DrawObjectMarker(image1_, objects[i], pen, brush);
  }
}

void EditorModel::highlightKind(world::AreaKind kind) {
  const world::KindObjects objects = world::objectsOfKind(kind);
  markObjects(objects.candidates, false);
  markObjects(objects.special, false);
  image1_.brush = canvas::kBlack;
}

void EditorModel::HighlightMarkers(MarkerMode mode) {
  if (mode == MarkerMode::Clear) {
    // Painting over every marker; the brush stays as the last marker left it.
    for (const ObjectItemKind kind : kMarkerOrder)
      markObjects(kind, true);
    return;
  }
  markObjects(objectKindOf(mode), false);
  // The next black fill of the preview uses this brush.
  image1_.brush = canvas::kBlack;
}

}  // namespace ws::editor
