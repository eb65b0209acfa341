#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

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

// The three kind buttons: RadioButton1 (link gate), RadioButton2 (field) and
// RadioButton3 (town), numbered 1 to 3. Exactly one is selected; a disabled
// one can still be selected from code.
struct RadioGroup {
  int selected = 1;
  std::array<bool, 3> enabled{true, true, true};

  bool isEnabled(int button) const;
  void setEnabled(int button, bool on);
};

}  // namespace ws::editor
