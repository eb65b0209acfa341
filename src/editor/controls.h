#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "world/area_slot.h"

namespace ws::editor {

// The window's controls as plain data. Changing them from code never runs a
// handler; only the model's handler methods do work. Every text is CP932.

// A list box: its items and the selected index, -1 for none.
struct ListBox {
  std::vector<std::string> items;
  int selected = -1;

  int count() const { return static_cast<int>(items.size()); }
  // The item at `index`, or the empty text outside the list.
  const std::string& item(int index) const;
  // Empties the list; nothing stays selected.
  void clear();
  void add(std::string text) { items.push_back(std::move(text)); }
};

// A list box whose items carry check marks. New items are unchecked.
struct CheckListBox {
  std::vector<std::string> items;
  std::vector<bool> checked;  // one mark per item
  bool visible = true;

  int count() const { return static_cast<int>(items.size()); }
  const std::string& item(int index) const;
  bool isChecked(int index) const;
  // Sets the mark of an item that exists; any other index is ignored.
  void setChecked(int index, bool mark);
  void clear();
  void add(std::string text);
};

// The kinds of the three kind buttons in their order: RadioButton1 (link
// gate), RadioButton2 (field) and RadioButton3 (town).
inline constexpr std::array<world::AreaKind, 3> kKindButtons = world::kAreaKinds;

// The kind of kind button `number` (1 to 3, as the windows number them);
// nothing for any other number.
std::optional<world::AreaKind> kindOfButton(int number);

// The three kind buttons, one per kind. Exactly one is selected; a disabled
// one can still be selected from code.
struct RadioGroup {
  world::AreaKind selected = world::AreaKind::LinkGate;
  std::array<bool, 3> enabled{true, true, true};  // in the order of kKindButtons

  bool isEnabled(world::AreaKind kind) const;
  void setEnabled(world::AreaKind kind, bool on);
};

}  // namespace ws::editor
