#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <utility>

namespace ws::editor::testing {

namespace {

// The next scripted answer, or `safe` after a failure naming the dialog
// when the script holds none.
template <typename Answer>
Answer next(std::deque<Answer>& answers, std::string_view dialog, Answer safe) {
  if (answers.empty()) {
    ADD_FAILURE() << "the " << dialog << " opened, and the test scripted no answer for it";
    return safe;
  }
  Answer answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

void ScriptedDialogs::showMessage(std::string_view text) {
  messages.emplace_back(text);
}

void ScriptedDialogs::logLine(std::string_view text) {
  logLines.emplace_back(text);
}

std::optional<ScriptedDialogs::Path> ScriptedDialogs::chooseFolder(std::string_view instruction) {
  folderInstructions.emplace_back(instruction);
  return next<std::optional<Path>>(folderAnswers, "folder dialog", std::nullopt);
}

std::optional<ScriptedDialogs::Path> ScriptedDialogs::chooseOpenFile(const Path& initialFolder) {
  openFolders.push_back(initialFolder);
  return next<std::optional<Path>>(openAnswers, "file-open dialog", std::nullopt);
}

std::optional<ScriptedDialogs::Path> ScriptedDialogs::chooseSaveFile(const Path& initialFolder,
                                                                     std::string_view defaultName) {
  saveFolders.push_back(initialFolder);
  saveNames.emplace_back(defaultName);
  return next<std::optional<Path>>(saveAnswers, "file-save dialog", std::nullopt);
}

SaveChoice ScriptedDialogs::askSaveChanges(std::string_view question) {
  questions.emplace_back(question);
  return next(saveChoices, "unsaved-work question", SaveChoice::Cancel);
}

// The only yes / no question offers back the world of a session that never
// closed: Yes keeps it, No throws it away, so Yes is the safe answer.
bool ScriptedDialogs::askYesNo(std::string_view question) {
  yesNoQuestions.emplace_back(question);
  return next(yesNoAnswers, "yes / no question", true);
}

std::optional<ScriptedDialogs::Path> ScriptedDialogs::choosePictureFile(
    std::string_view defaultName) {
  pictureNames.emplace_back(defaultName);
  return next<std::optional<Path>>(pictureAnswers, "picture file dialog", std::nullopt);
}

}  // namespace ws::editor::testing
