#pragma once

// What the native window's test binaries share: the window classes
// registered once per process, and a suite fixture that writes the demo game
// and opens a window on it with scripted dialogs.

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app_win32/main_window.h"
#include "app_win32/window_probe.h"
#include "demo/demo_areas.h"
#include "demo/demo_game.h"
#include "support/scoped_test_env.h"
#include "support/scripted_dialogs.h"

namespace ws::app::testing {

// Demo catalogue entries the tests use.
inline constexpr int kLinkGateArea = demo::areas::kGateOfBeginnings;  // 128 x 64, three dungeons
inline constexpr int kFieldArea = demo::areas::kBlueForest;      // 128 x 64, a tower and 3 dungeons
inline constexpr int kTowerOnlyArea = demo::areas::kNorthTower;  // a field without dungeons
inline constexpr int kTownArea = demo::areas::kHarbourTown;  // 128 x 64, a church and six houses
inline constexpr int kBrokenArea = demo::areas::kBrokenMap;  // its map file has a bad header

class WindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TForm1::registerClasses(GetModuleHandleW(nullptr));
  }
};

[[maybe_unused]] inline ::testing::Environment* const kWindowEnvironment =
    ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

// A suite whose tests each get a window on the suite's demo game.
class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gameFolder_ = platform::testing::uniqueTestFolder("app-win32");
    ASSERT_TRUE(demo::makeDemoGame(gameFolder_).ok());
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(gameFolder_); }

  void TearDown() override {
    window_.reset();
    probe::pump();
  }

  // A fresh window on `game` (empty: the demo game), keeping its state in
  // `stateFolder` when there is one, shown with `show`; `dialogs` nullptr
  // for the system's.
  void open(editor::Dialogs* dialogs, std::optional<std::filesystem::path> stateFolder = {},
            const std::filesystem::path& game = {}, int show = SW_SHOW) {
    window_.reset();
    editor::EditorOptions options;
    options.gameFolder = game.empty() ? gameFolder_ : game;
    options.stateFolder = std::move(stateFolder);
    window_ = std::make_unique<TForm1>(options, dialogs);
    ASSERT_TRUE(window_->FormCreate());
    ShowWindow(window_->handle(), show);
    UpdateWindow(window_->handle());
    probe::pump();
  }

  // A control by name; "Form1" is the window itself.
  HWND control(const char* name) {
    HWND window = std::string_view(name) == "Form1" ? window_->handle() : window_->control(name);
    EXPECT_NE(window, nullptr) << name;
    return window;
  }
  const editor::EditorModel& model() { return window_->model(); }

  // The notification a user's selection sends, which LB_SETCURSEL does not.
  void chooseArea(int item) {
    HWND list = control("ListBox1");
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    probe::pump();
  }

  // SAVE from the window into `folder`/window.dat and from `reference` into
  // `folder`/model.dat: the window writes the very bytes the model writes.
  void expectSavesWhatTheModelSaves(editor::EditorModel& reference,
                                    const std::filesystem::path& folder) {
    dialogs_.saveAnswers.push_back(folder / "window.dat");
    SendMessageW(control("Button2"), BM_CLICK, 0, 0);
    probe::pump();
    dialogs_.saveAnswers.push_back(folder / "model.dat");
    reference.Button2Click();
    const std::vector<char> saved = probe::fileBytes(folder / "window.dat");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved, probe::fileBytes(folder / "model.dat"));
  }

  static inline std::filesystem::path gameFolder_;
  editor::testing::ScriptedDialogs dialogs_;
  std::unique_ptr<TForm1> window_;
};

}  // namespace ws::app::testing
