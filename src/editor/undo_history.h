#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "editor/controls.h"
#include "world/area_slot.h"

namespace ws::editor {

// A canvas's pixels packed as runs of one colour. The world map is mostly
// black and its areas are drawn in a handful of colours, so a 512 x 256 map
// (512 KB unpacked) packs into a few kilobytes to a few tens of kilobytes.
class PackedPixels {
 public:
  PackedPixels() = default;
  explicit PackedPixels(const canvas::Canvas& canvas);

  // Writes the pixels back into a canvas of the same size; pen, brush and
  // copy mode stay as they are.
  void unpackInto(canvas::Canvas& canvas) const;

 private:
  struct Run {
    std::uint32_t length = 0;
    canvas::Colour colour = 0;
  };
  std::vector<Run> runs_;
};

// The world name a step replaced (CP932): a LOAD names the world after the
// save, and undoing it brings back the name the user had.
struct NameChange {
  std::string before;
  std::string after;
};

// The world as one step leaves it: what undo and redo bring back. The
// catalogue choice, the preview, the check lists and the cursor are the
// user's and are not part of it; so is the world name, which only a LOAD
// changes.
struct WorldState {
  world::AreaSlotTable slots;
  std::vector<int> placedAreas;    // the areas ListBox2 lists, by catalogue number
  RadioGroup kinds;                // selection and availability
  PackedPixels map;                // the world map without the cursor outline
  std::optional<NameChange> name;  // set by a step that renamed the world
};

// The worlds after each step, oldest first, and which one is shown. A new
// step drops the steps that were undone; beyond kStepLimit steps the oldest
// world is forgotten.
class UndoHistory {
 public:
  static constexpr std::size_t kStepLimit = 100;

  // Starts over from `initial`, with nothing to undo or redo.
  void reset(WorldState initial);
  // Records the world after a new step.
  void record(WorldState after);

  bool canUndo() const { return current_ > 0; }
  bool canRedo() const { return current_ + 1 < states_.size(); }
  // The world to show after one step back or forward; call only when
  // canUndo() or canRedo().
  const WorldState& undo();
  const WorldState& redo();
  // The world shown now: the newest step, or the one undo went back to.
  const WorldState& current() const { return states_[current_]; }

 private:
  std::deque<WorldState> states_;
  std::size_t current_ = 0;
};

}  // namespace ws::editor
