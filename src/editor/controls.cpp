#include "editor/controls.h"

#include <algorithm>

namespace ws::editor {

namespace {

const std::string kNoItem;

bool inside(const std::vector<std::string>& items, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

// The position of `kind` in kKindButtons; kKindButtons.size() for a value
// that is no kind.
std::size_t buttonIndex(world::AreaKind kind) {
  return static_cast<std::size_t>(std::ranges::find(kKindButtons, kind) - kKindButtons.begin());
}

}  // namespace

const std::string& ListBox::item(int index) const {
  return inside(items, index) ? items[static_cast<std::size_t>(index)] : kNoItem;
}

void ListBox::clear() {
  items.clear();
  selected = -1;
}

const std::string& CheckListBox::item(int index) const {
  return inside(items, index) ? items[static_cast<std::size_t>(index)] : kNoItem;
}

bool CheckListBox::isChecked(int index) const {
  return inside(items, index) && checked[static_cast<std::size_t>(index)];
}

void CheckListBox::setChecked(int index, bool mark) {
  if (inside(items, index)) checked[static_cast<std::size_t>(index)] = mark;
}

void CheckListBox::clear() {
  items.clear();
  checked.clear();
}

void CheckListBox::add(std::string text) {
  items.push_back(std::move(text));
  checked.push_back(false);
}

std::optional<world::AreaKind> kindOfButton(int number) {
  if (number < 1 || number > static_cast<int>(kKindButtons.size())) return std::nullopt;
  return kKindButtons[static_cast<std::size_t>(number - 1)];
}

bool RadioGroup::isEnabled(world::AreaKind kind) const {
  const std::size_t index = buttonIndex(kind);
  return index < enabled.size() && enabled[index];
}

void RadioGroup::setEnabled(world::AreaKind kind, bool on) {
  const std::size_t index = buttonIndex(kind);
  if (index < enabled.size()) enabled[index] = on;
}

}  // namespace ws::editor
