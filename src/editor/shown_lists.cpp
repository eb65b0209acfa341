#include "editor/shown_lists.h"

#include "editor/editor_model.h"

namespace ws::editor {
namespace {

const std::vector<std::string>& itemsOf(const EditorModel& model, WindowList list) {
  switch (list) {
    case WindowList::ListBox1:
      return model.ListBox1().items;
    case WindowList::ListBox2:
      return model.ListBox2().items;
    case WindowList::CheckListBox1:
      return model.CheckListBox1().items;
    case WindowList::CheckListBox2:
      return model.CheckListBox2().items;
    case WindowList::CheckListBox3:
      break;
  }
  return model.CheckListBox3().items;
}

}  // namespace

bool ShownLists::needsRefill(const EditorModel& model, WindowList list) {
  const std::vector<std::string>& items = itemsOf(model, list);
  std::vector<std::string>& shown = shown_.at(static_cast<std::size_t>(list));
  if (items == shown) return false;
  shown = items;
  return true;
}

}  // namespace ws::editor
