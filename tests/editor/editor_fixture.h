// Shared pieces of the editor model tests: scripted dialogs, temporary
// folders and game folders made by our own builders.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "demo/area_map_builder.h"
#include "demo/catalogue_builder.h"
#include "demo/demo_areas.h"
#include "demo/demo_game.h"
#include "editor/dialogs.h"
#include "editor/editor_model.h"
#include "platform/text.h"

namespace ws::editor::testing {

namespace fs = std::filesystem;

// The whole file, or nothing when it cannot be opened.
inline std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Dialogs that answer from a script and record what they were asked.
class FakeDialogs : public Dialogs {
 public:
  std::vector<std::string> messages;
  std::deque<std::optional<fs::path>> folderAnswers;
  std::vector<std::string> folderInstructions;  // what each folder dialog asked for
  std::deque<std::optional<fs::path>> openAnswers;
  std::deque<std::optional<fs::path>> saveAnswers;
  std::vector<fs::path> openFolders;
  std::vector<fs::path> saveFolders;
  std::vector<std::string> saveNames;
  // The unsaved-work question: what was asked, and the answers to give (an
  // unscripted question is answered "don't save", as a window without the
  // question behaves).
  std::vector<std::string> questions;
  std::deque<SaveChoice> saveChoices;
  std::deque<std::optional<fs::path>> pictureAnswers;

  void showMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<fs::path> chooseFolder(std::string_view instruction) override {
    folderInstructions.emplace_back(instruction);
    return next(folderAnswers);
  }
  std::optional<fs::path> chooseOpenFile(const fs::path& initialFolder) override {
    openFolders.push_back(initialFolder);
    return next(openAnswers);
  }
  std::optional<fs::path> chooseSaveFile(const fs::path& initialFolder,
                                         std::string_view defaultName) override {
    saveFolders.push_back(initialFolder);
    saveNames.emplace_back(defaultName);
    return next(saveAnswers);
  }
  SaveChoice askSaveChanges(std::string_view question) override {
    questions.emplace_back(question);
    if (saveChoices.empty()) return SaveChoice::DontSave;
    const SaveChoice choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
  }
  std::optional<fs::path> choosePictureFile(std::string_view) override {
    return next(pictureAnswers);
  }

 private:
  static std::optional<fs::path> next(std::deque<std::optional<fs::path>>& answers) {
    if (answers.empty()) {
      ADD_FAILURE() << "a dialog was opened that the test did not expect";
      return std::nullopt;
    }
    std::optional<fs::path> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// A fresh folder below $WORLDSMITH_TEST_TMP (or the system's temporary
// folder), removed again at the end of the process.
inline fs::path freshFolder(const std::string& name) {
  const char* root = std::getenv("WORLDSMITH_TEST_TMP");
  static int counter = 0;
  const fs::path folder =
      fs::path(root != nullptr && *root != '\0' ? root : fs::temp_directory_path()) /
      ("editor-" + std::to_string(::getpid())) / (name + std::to_string(++counter));
  static const struct Cleanup {
    fs::path top;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove_all(top, ignored);
    }
  } cleanup{folder.parent_path()};
  fs::create_directories(folder);
  return folder;
}

// The demo game, written once per test binary.
inline const fs::path& demoGame() {
  static const fs::path folder = [] {
    fs::path game = freshFolder("demo");
    EXPECT_TRUE(demo::makeDemoGame(game).ok());
    return game;
  }();
  return folder;
}

inline std::string cp932(std::string_view utf8) {
  std::optional<std::string> text = platform::utf8ToCp932(utf8);
  EXPECT_TRUE(text.has_value()) << utf8;
  return text.value_or(std::string());
}

inline void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Demo areas by catalogue number.
using namespace ws::demo::areas;
using world::AreaKind;

// A model started on the demo game.
struct DemoEditor {
  FakeDialogs dialogs;
  EditorModel model{dialogs, EditorOptions{demoGame()}};

  DemoEditor() { EXPECT_TRUE(model.FormCreate()); }

  void choose(int areaNumber) {
    model.setListBox1Selection(areaNumber);
    model.ListBox1Click();
  }
  void clickAt(int x, int y) {
    model.Image2MouseMove(x, y);
    model.Image2Click();
  }
  // Chooses the kind first, then the area, and clicks at (x, y).
  void place(AreaKind kind, int areaNumber, int x, int y) {
    model.selectKind(kind);
    choose(areaNumber);
    clickAt(x, y);
  }
};

// The world map without the cursor outline: inverting the outline once more
// removes it.
inline canvas::Canvas mapWithoutCursor(const EditorModel& model) {
  canvas::Canvas map = model.Image2();
  map.polygon(model.cursor().corners);
  return map;
}

inline bool samePixels(const canvas::Canvas& a, const canvas::Canvas& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

}  // namespace ws::editor::testing
