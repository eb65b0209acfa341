// The tests' scripted dialogs must never answer for a test that did not
// say what it expects: a dialog opened without a scripted answer fails the
// test, and the answer given then loses nothing.
#include "support/scripted_dialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>

namespace ws::editor::testing {
namespace {

TEST(ScriptedDialogsTest, AnUnscriptedDialogFailsTheTestAndIsAnsweredSafely) {
  ScriptedDialogs dialogs;
  struct Case {
    const char* dialog;
    std::function<bool()> answersSafely;
  };
  const Case cases[] = {
      {"folder dialog", [&] { return !dialogs.chooseFolder("folder").has_value(); }},
      {"file-open dialog", [&] { return !dialogs.chooseOpenFile("usr").has_value(); }},
      {"file-save dialog", [&] { return !dialogs.chooseSaveFile("usr", "W.dat").has_value(); }},
      {"picture file dialog", [&] { return !dialogs.choosePictureFile("w.png").has_value(); }},
      {"unsaved-work question",
       [&] { return dialogs.askSaveChanges("save?") == SaveChoice::Cancel; }},
      {"yes / no question", [&] { return dialogs.askYesNo("restore?"); }},
  };
  for (const Case& c : cases) {
    bool safe = false;
    EXPECT_NONFATAL_FAILURE(safe = c.answersSafely(), c.dialog);
    EXPECT_TRUE(safe) << c.dialog;
  }
  // Scripted answers are given in order, and what was asked is kept.
  dialogs.saveChoices = {SaveChoice::DontSave, SaveChoice::Save};
  EXPECT_EQ(dialogs.askSaveChanges("first"), SaveChoice::DontSave);
  EXPECT_EQ(dialogs.askSaveChanges("second"), SaveChoice::Save);
  EXPECT_EQ(dialogs.questions, (std::vector<std::string>{"save?", "first", "second"}));
}

}  // namespace
}  // namespace ws::editor::testing
