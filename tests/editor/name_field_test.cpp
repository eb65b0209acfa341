#include "editor/name_field.h"

#include "editor_fixture.h"

namespace ws::editor::testing {
namespace {

// An edit of the name field: the name before, what the field holds after the
// edit and where its caret is, and what the player then sees.
struct NameEdit {
  const char* label;
  std::u16string before;
  std::u16string typed;
  std::size_t caret;
  bool taken;
  std::u16string shown;    // the field afterwards
  std::size_t caretAfter;  // when refused
};

const std::u16string k31(31, u'a');

const NameEdit kEdits[] = {
    {"a letter appended", u"ab", u"abc", 3, true, u"abc", 0},
    {"Japanese, two bytes each", u"", u"星の世界", 4, true, u"星の世界", 0},
    {"sixteen double-byte characters are 32 bytes", u"", std::u16string(16, u'あ'), 16, false, u"",
     0},
    {"the 32nd byte at the end", k31, k31 + u"b", 32, false, k31, 31},
    {"the 32nd byte in the middle", k31, u"aa" + std::u16string(u"b") + std::u16string(29, u'a'), 3,
     false, k31, 2},
    {"a character outside the code page, as a surrogate pair", u"ab", u"a\U0001F600b", 3, false,
     u"ab", 1},
    {"a lone surrogate", u"ab", u"ab\xD83D", 3, false, u"ab", 2},
    {"a refused paste over a selection keeps the caret inside the name", u"abcdef", u"a\U0001F600",
     3, false, u"abcdef", 3},
    {"emptied", u"abc", u"", 0, true, u"", 0},
};

TEST(NameField, TakesWhatFitsAndPutsTheCaretBeforeRefusedInput) {
  for (const NameEdit& edit : kEdits) {
    SCOPED_TRACE(edit.label);
    DemoEditor e;
    ASSERT_EQ(typeWorldName(e.model, edit.before, edit.before.size()), std::nullopt);
    const std::optional<RefusedName> refused = typeWorldName(e.model, edit.typed, edit.caret);
    EXPECT_EQ(platform::cp932ToUtf16(e.model.Edit1()), edit.shown);
    EXPECT_EQ(!refused.has_value(), edit.taken);
    if (!refused) continue;
    EXPECT_EQ(refused->text, edit.shown);
    EXPECT_EQ(refused->caret, edit.caretAfter);
  }
}

}  // namespace
}  // namespace ws::editor::testing
