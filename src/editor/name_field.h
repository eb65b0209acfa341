#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ws::editor {

class EditorModel;

// What the world name field shows again after the model refused an edit.
struct RefusedName {
  std::u16string text;    // the name the model keeps
  std::size_t caret = 0;  // where the refused input began, within `text`
};

// The player changed the name field to `typed` (UTF-16, as the window holds
// it), with the caret at `caret`. The model takes the name when CP932 can
// hold it and it fits the save's field; otherwise the field must show the
// old name again, with the caret where the refused input began, and the
// window beeps (the player sees nothing else happen).
std::optional<RefusedName> typeWorldName(EditorModel& model, std::u16string_view typed,
                                         std::size_t caret);

}  // namespace ws::editor
