// Shared pieces of the editor model tests: temporary folders and game
// folders made by our own builders, and a model started on the demo game.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "demo/area_map_builder.h"
#include "demo/catalogue_builder.h"
#include "demo/demo_areas.h"
#include "demo/demo_game.h"
#include "editor/editor_model.h"
#include "platform/text.h"
#include "support/scripted_dialogs.h"

namespace ws::editor::testing {

namespace fs = std::filesystem;

// The whole file, or nothing when it cannot be opened.
inline std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

// A model started on the demo game; with a state folder, it keeps its
// backups and recovery file there, and `yesNoAnswers` answer the question
// at start-up.
struct DemoEditor {
  ScriptedDialogs dialogs;
  EditorModel model{dialogs, EditorOptions{demoGame()}};

  DemoEditor() { EXPECT_TRUE(model.FormCreate()); }
  explicit DemoEditor(const fs::path& stateFolder, std::deque<bool> yesNoAnswers = {})
      : model(dialogs, EditorOptions{demoGame(), nullptr, stateFolder}) {
    dialogs.yesNoAnswers = std::move(yesNoAnswers);
    EXPECT_TRUE(model.FormCreate());
  }

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
