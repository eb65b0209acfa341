#include "editor/undo_history.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>

namespace ws::editor {

PackedPixels::PackedPixels(const canvas::Canvas& canvas) {
  const std::span<const canvas::Colour> pixels = canvas.pixels();
  const canvas::Colour* at = pixels.data();
  const canvas::Colour* const end = at + pixels.size();
  while (at != end) {
    const canvas::Colour* runEnd = at + 1;
    while (runEnd != end && *runEnd == *at)
      ++runEnd;
    runs_.push_back(Run{static_cast<std::uint32_t>(runEnd - at), *at});
    at = runEnd;
  }
  runs_.shrink_to_fit();
}

void PackedPixels::unpackInto(canvas::Canvas& canvas) const {
  const std::span<canvas::Colour> pixels = canvas.mutablePixels();
  auto at = pixels.begin();
  for (const Run& run : runs_) {
    // Converted explicitly: on 32-bit targets the distance type is a 32-bit
    // int, which not every uint32_t fits (no run is longer than a map).
    const auto length = std::min(static_cast<std::ptrdiff_t>(run.length), pixels.end() - at);
    at = std::fill_n(at, length, run.colour);
  }
}

void UndoHistory::reset(WorldState initial) {
  states_.clear();
  states_.push_back(std::move(initial));
  current_ = 0;
}

void UndoHistory::record(WorldState after) {
  if (states_.empty()) {
    reset(std::move(after));
    return;
  }
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, states_.end());
  states_.push_back(std::move(after));
  if (states_.size() > kStepLimit + 1) states_.pop_front();
  current_ = states_.size() - 1;
}

const WorldState& UndoHistory::undo() {
  if (canUndo()) --current_;
  return states_[current_];
}

const WorldState& UndoHistory::redo() {
  if (canRedo()) ++current_;
  return states_[current_];
}

}  // namespace ws::editor
