#pragma once

#include <array>
#include <string>
#include <vector>

namespace ws::editor {

class EditorModel;

// The window's five lists, in the order it fills them.
enum class WindowList { ListBox1, ListBox2, CheckListBox1, CheckListBox2, CheckListBox3 };
inline constexpr std::array<WindowList, 5> kWindowLists{
    WindowList::ListBox1, WindowList::ListBox2, WindowList::CheckListBox1,
    WindowList::CheckListBox2, WindowList::CheckListBox3};

// The items a window last put into each list. Filling a list again loses
// its scroll position and the player's place in it, so a window refills
// only the lists whose items changed since it showed them.
class ShownLists {
 public:
  // Whether `list` must be filled again to show the model's items; they
  // count as shown from now on.
  bool needsRefill(const EditorModel& model, WindowList list);

 private:
  std::array<std::vector<std::string>, kWindowLists.size()> shown_{};
};

}  // namespace ws::editor
