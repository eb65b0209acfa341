#include "editor/name_field.h"

#include <algorithm>

#include "editor/editor_model.h"
#include "platform/text.h"

namespace ws::editor {

std::optional<RefusedName> typeWorldName(EditorModel& model, std::u16string_view typed,
                                         std::size_t caret) {
  const std::optional<std::string> cp932 = platform::utf16ToCp932(typed);
  if (cp932 && model.setWorldName(*cp932)) return std::nullopt;
  RefusedName refused{platform::cp932ToUtf16(model.Edit1()), 0};
  // The refused input is what the edit added: the caret moves back over it.
  const std::size_t added =
      typed.size() > refused.text.size() ? typed.size() - refused.text.size() : 0;
  refused.caret = std::min(caret > added ? caret - added : 0, refused.text.size());
  return refused;
}

}  // namespace ws::editor
