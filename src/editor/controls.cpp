#include "editor/controls.h"

namespace ws::editor {

namespace {

const std::string kNoItem;

bool inside(const std::vector<std::string>& items, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < items.size();
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

bool RadioGroup::isEnabled(int button) const {
  return button >= 1 && button <= 3 && enabled[static_cast<std::size_t>(button - 1)];
}

void RadioGroup::setEnabled(int button, bool on) {
  if (button >= 1 && button <= 3) enabled[static_cast<std::size_t>(button - 1)] = on;
}

}  // namespace ws::editor
