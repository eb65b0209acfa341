// The editor's dialogs answered from a test's script. Every answer a test
// expects is queued beforehand; a dialog that opens with no answer queued
// fails the test, naming the dialog, and is answered the safe way (Cancel,
// nothing chosen, nothing lost). What the dialogs showed and asked is kept
// for the test to compare.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/dialogs.h"

namespace ws::editor::testing {

class ScriptedDialogs : public Dialogs {
 public:
  using Path = std::filesystem::path;

  // The answers, taken front first; nothing (std::nullopt) is Cancel.
  std::deque<std::optional<Path>> folderAnswers;
  std::deque<std::optional<Path>> openAnswers;
  std::deque<std::optional<Path>> saveAnswers;
  std::deque<std::optional<Path>> pictureAnswers;
  std::deque<SaveChoice> saveChoices;  // the unsaved-work question
  std::deque<bool> yesNoAnswers;       // the question at start-up (true: Yes)

  // What was shown (CP932), in order.
  std::vector<std::string> messages;
  std::vector<std::string> logLines;
  // What each dialog was opened with, in order.
  std::vector<std::string> folderInstructions;
  std::vector<Path> openFolders;
  std::vector<Path> saveFolders;
  std::vector<std::string> saveNames;
  std::vector<std::string> pictureNames;
  std::vector<std::string> questions;  // the unsaved-work question
  std::vector<std::string> yesNoQuestions;

  void showMessage(std::string_view text) override;
  void logLine(std::string_view text) override;
  std::optional<Path> chooseFolder(std::string_view instruction) override;
  std::optional<Path> chooseOpenFile(const Path& initialFolder) override;
  std::optional<Path> chooseSaveFile(const Path& initialFolder,
                                     std::string_view defaultName) override;
  SaveChoice askSaveChanges(std::string_view question) override;
  bool askYesNo(std::string_view question) override;
  std::optional<Path> choosePictureFile(std::string_view defaultName) override;
};

}  // namespace ws::editor::testing
