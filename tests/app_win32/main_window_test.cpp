// The native window on the demo game, driven through window messages as a
// user's input arrives, and read back as a user sees it: positions, texts,
// check marks and the pixels on the screen.

#include "app_win32/main_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app_win32/win32_dialogs.h"
#include "app_win32/win32_text.h"
#include "app_win32/window_fixture.h"
#include "app_win32/window_probe.h"
#include "canvas/png_image.h"
#include "demo/demo_game.h"
#include "editor/editor_messages.h"
#include "editor/window_texts.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"
#include "support/scripted_dialogs.h"
#include "support/window_places.h"
#include "world/save_body_layout.h"
#include "world/world_messages.h"

namespace ws::app {
namespace {

namespace fs = std::filesystem;
using namespace probe;

using namespace ws::app::testing;

std::wstring textOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring listItem(HWND list, int item) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length < 0) return L"<none>";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

int listCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

int listSelection(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

bool isShown(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool isChecked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// One user action, as the window receives it and as a model takes it.
struct Step {
  enum Action { Choose, Toggle, SelectKind, Scroll, Place, Type } action;
  int a =
      0;  // Choose: catalogue item; Toggle: list 1 or 2; SelectKind: button; Place: x; Type: char
  int b = 0;  // Toggle: item; Place: y; Scroll: horizontal bar request
};

class MainWindowTest : public WindowTest {
 protected:
  void SetUp() override { open(&dialogs_); }

  // A mouse click on an item of a list, at `x` within the item.
  void clickItem(HWND list, int item, int x) {
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = pointParam(rect.left + x, (rect.top + rect.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
  }
  // A move and a click on the world map at a point the scroll box shows.
  void placeAt(int x, int y) {
    HWND map = control("Image2");
    const RECT visible = visiblePart(map);
    const POINT at{x, y};
    ASSERT_TRUE(PtInRect(&visible, at)) << x << "," << y << " is scrolled out of sight";
    SendMessageW(map, WM_MOUSEMOVE, 0, pointParam(x, y));
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, pointParam(x, y));
    SendMessageW(map, WM_LBUTTONUP, 0, pointParam(x, y));
  }

  void perform(const Step& step) {
    switch (step.action) {
      case Step::Choose:
        chooseArea(step.a);
        break;
      case Step::Toggle:
        clickItem(control(step.a == 1 ? "CheckListBox1" : "CheckListBox2"), step.b, 4);
        break;
      case Step::SelectKind: {
        const std::string name = "RadioButton" + std::to_string(step.a);
        SendMessageW(control(name.c_str()), BM_CLICK, 0, 0);
        break;
      }
      case Step::Scroll:
        SendMessageW(control("ScrollBox1"), WM_HSCROLL, static_cast<WPARAM>(step.b), 0);
        break;
      case Step::Place:
        placeAt(step.a, step.b);
        break;
      case Step::Type: {
        HWND edit = control("Edit1");
        SendMessageW(edit, EM_SETSEL, 0x7FFF, 0x7FFF);  // the caret at the end
        SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(step.a), 1);
        break;
      }
    }
    pump();
  }

  // The same action given to a bare model, as the window should give it.
  static void perform(editor::EditorModel& model, const Step& step) {
    switch (step.action) {
      case Step::Choose:
        model.setListBox1Selection(step.a);
        model.ListBox1Click();
        break;
      case Step::Toggle:
        model.toggleCheck(step.a == 1 ? editor::CheckList::Dungeons : editor::CheckList::Houses,
                          step.b);
        break;
      case Step::SelectKind:
        model.selectKind(editor::kindOfButton(step.a).value());
        break;
      case Step::Scroll:
        break;
      case Step::Place:
        model.Image2MouseMove(step.a, step.b);
        model.Image2Click();
        break;
      case Step::Type: {
        const std::wstring typed = toWide(model.Edit1()) + static_cast<wchar_t>(step.a);
        if (const auto cp932 = toCp932(typed)) model.setWorldName(*cp932);
        break;
      }
    }
  }

  // Every control shows what the model holds.
  void expectWindowShowsModel() {
    struct List {
      const char* name;
      const std::vector<std::string>& items;
      int selected;  // -2: not compared
    };
    const List lists[] = {
        {"ListBox1", model().ListBox1().items, model().ListBox1().selected},
        {"ListBox2", model().ListBox2().items, model().ListBox2().selected},
        {"CheckListBox1", model().CheckListBox1().items, -2},
        {"CheckListBox2", model().CheckListBox2().items, -2},
    };
    for (const List& list : lists) {
      SCOPED_TRACE(list.name);
      HWND window = control(list.name);
      ASSERT_EQ(listCount(window), static_cast<int>(list.items.size()));
      for (std::size_t i = 0; i < list.items.size(); ++i) {
        EXPECT_EQ(listItem(window, static_cast<int>(i)), toWide(list.items[i])) << i;
      }
      if (list.selected != -2) {
        EXPECT_EQ(listSelection(window), list.selected);
      }
    }
    const editor::CheckListBox* checkLists[] = {&model().CheckListBox1(), &model().CheckListBox2()};
    const char* checkNames[] = {"CheckListBox1", "CheckListBox2"};
    for (int k = 0; k < 2; ++k) {
      HWND window = control(checkNames[k]);
      EXPECT_EQ(isShown(window), checkLists[k]->visible) << checkNames[k];
      for (int i = 0; i < checkLists[k]->count(); ++i) {
        EXPECT_EQ(SendMessageW(window, LB_GETITEMDATA, static_cast<WPARAM>(i), 0) == 1,
                  checkLists[k]->isChecked(i))
            << checkNames[k] << " item " << i;
      }
    }
    const std::pair<const char*, world::AreaKind> kindButtons[] = {
        {"RadioButton1", world::AreaKind::LinkGate},
        {"RadioButton2", world::AreaKind::Field},
        {"RadioButton3", world::AreaKind::Town}};
    for (const auto& [name, kind] : kindButtons) {
      EXPECT_EQ(isChecked(control(name)), model().RadioButtons().selected == kind) << name;
      EXPECT_EQ(IsWindowEnabled(control(name)) != FALSE, model().RadioButtons().isEnabled(kind))
          << name;
    }
    EXPECT_EQ(textOf(control("Edit1")), toWide(model().Edit1()));
    EXPECT_EQ(pixelsDifferingFrom(control("Image2"), model().Image2(), 1), 0);
    // The preview at twice its size.
    EXPECT_EQ(pixelsDifferingFrom(control("Image1"), model().Image1(), 2), 0);
  }
};

// Every control where the window's description puts it, with its caption,
// in the window's font: "ＭＳ ゴシック", 12 pixels, Shift-JIS.
TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThemWithTheirCaptionsAndFont) {
  for (const ws::testing::WindowPlace& place : ws::testing::kWindowPlaces) {
    SCOPED_TRACE(place.name);
    HWND window = control(place.name);
    ASSERT_NE(window, nullptr);
    HWND parent =
        std::string_view(place.parent) == "Form1" ? window_->handle() : control(place.parent);
    EXPECT_EQ(GetParent(window), parent);
    const RECT rect = placeInParent(window);
    EXPECT_EQ(rect.left, place.left);
    EXPECT_EQ(rect.top, place.top);
    EXPECT_EQ(rect.right - rect.left, place.width);
    EXPECT_EQ(rect.bottom - rect.top, place.height);
    EXPECT_EQ(isShown(window), place.visibleAtStart);
    const std::string_view name = place.name;
    if (name.starts_with("Image") || name == "Panel1" || name == "ScrollBox1") continue;
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)),
                         sizeof(font), &font),
              0);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"\uff2d\uff33 \u30b4\u30b7\u30c3\u30af");
    if (name.find("ListBox") != std::string_view::npos) {
      EXPECT_EQ(SendMessageW(window, LB_GETITEMHEIGHT, 0, 0), 12);
    }
  }
  const std::pair<const char*, std::wstring_view> captions[] = {
      {"Label1", L"\u5efa\u7269"},                                // "建物"
      {"RadioButton1", L"\u30ea\u30f3\u30af\u30b2\u30fc\u30c8"},  // "リンクゲート"
      {"RadioButton2", L"\u30d5\u30a3\u30fc\u30eb\u30c9"},        // "フィールド"
      {"RadioButton3", L"\u753a"},                                // "町"
      {"Label2", L"\u30ef\u30fc\u30eb\u30c9\u540d"},              // "ワールド名"
      {"Edit1", L"\u30c6\u30b9\u30c8\u30ef\u30fc\u30eb\u30c9"},   // "テストワールド"
      {"Button1", L"LOAD"},
      {"Button2", L"SAVE"},
  };
  for (const auto& [name, caption] : captions) {
    EXPECT_EQ(textOf(control(name)), caption) << name;
  }
  EXPECT_EQ(textOf(window_->handle()), L"Form1");
  RECT outer{};
  GetWindowRect(window_->handle(), &outer);
  EXPECT_EQ(outer.left, ws::testing::kForm1Left);
  EXPECT_EQ(outer.top, ws::testing::kForm1Top);
  EXPECT_EQ(outer.right - outer.left, ws::testing::kForm1Width);
  EXPECT_EQ(outer.bottom - outer.top, ws::testing::kForm1Height);

  // Which face the font mapper gave for the font depends on the fonts
  // installed: kept with the test's results, not checked.
  const WindowDC dc(control("ListBox1"));
  const Selection font(
      dc.get(), reinterpret_cast<HFONT>(SendMessageW(control("ListBox1"), WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.get(), LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  const std::optional<std::string> faceText = toCp932(face);
  RecordProperty("mapped_font", platform::cp932ToUtf8(faceText.value_or("?")) + ", charset " +
                                    std::to_string(metrics.tmCharSet) + ", height " +
                                    std::to_string(metrics.tmHeight));
}

// The order in which Tab visits the controls: the tab stops in window order,
// descending into the containers that hold controls of their own.
TEST_F(MainWindowTest, FocusMovesInTheLayoutsTabOrder) {
  std::vector<std::string> chain;
  std::function<void(HWND)> walk = [&](HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if ((GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) {
        walk(child);
      } else if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) != 0) {
        for (std::string_view name : ws::testing::kTabOrder) {
          if (window_->control(name) == child) chain.emplace_back(name);
        }
      }
    }
  };
  walk(window_->handle());
  const std::vector<std::string> expected(std::begin(ws::testing::kTabOrder),
                                          std::end(ws::testing::kTabOrder));
  EXPECT_EQ(chain, expected);
}

TEST_F(MainWindowTest, StartsWithTheLinkGateKindTheCatalogueAndBlackImages) {
  EXPECT_TRUE(isChecked(control("RadioButton1")));
  EXPECT_FALSE(isChecked(control("RadioButton2")));
  ASSERT_EQ(listCount(control("ListBox1")), 200);
  EXPECT_EQ(listItem(control("ListBox1"), kLinkGateArea), L"\u59cb\u307e\u308a\u306e\u9580");
  EXPECT_EQ(listSelection(control("ListBox1")), -1);
  expectWindowShowsModel();
}

// A whole session through the window's controls: after every step the
// window shows the model, and the world it saves is the one a model saves
// after the same steps.
TEST_F(MainWindowTest, ASessionShowsTheModelThroughoutAndSavesWhatTheModelSaves) {
  const Step steps[] = {
      {Step::Choose, kLinkGateArea},
      {Step::Toggle, 1, 2},  // dungeons 0 and 2
      {Step::Place, 10, 10},
      {Step::Choose, kFieldArea},
      {Step::Toggle, 1, 0},  // the default dungeon unchecked ...
      {Step::Toggle, 1, 1},  // ... and another one checked
      {Step::Place, 140, 10},
      {Step::Choose, kTownArea},
      {Step::SelectKind, 3},
      {Step::Toggle, 2, 4},
      {Step::Scroll, 0, SB_BOTTOM},
      {Step::Place, 400, 150},  // reachable only scrolled to the right
      {Step::Type, 0x30A2},     // "ア"
      {Step::Type, L'2'},
  };
  editor::EditorModel reference(dialogs_, {gameFolder_});
  ASSERT_TRUE(reference.FormCreate());
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    perform(steps[i]);
    perform(reference, steps[i]);
    expectWindowShowsModel();
  }
  ASSERT_EQ(model().areaSlots().usedCount(), 3);
  EXPECT_EQ(model().areaSlots()[2].x, 384);
  EXPECT_TRUE(dialogs_.messages.empty());

  const platform::testing::TempFolder folder("app-win32-save");
  ASSERT_NO_FATAL_FAILURE(expectSavesWhatTheModelSaves(reference, folder.path()));

  // Loaded back, the window shows the loaded world with the town kind and
  // the saved choices, none of its selections echoed as a user's choice.
  perform({Step::Choose, kTowerOnlyArea});
  dialogs_.openAnswers.push_back(folder.path() / "window.dat");
  SendMessageW(control("Button1"), BM_CLICK, 0, 0);
  pump();
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(listCount(control("ListBox2")), 3);
  EXPECT_TRUE(isChecked(control("RadioButton3")));
  EXPECT_FALSE(IsWindowEnabled(control("RadioButton1")));
  expectWindowShowsModel();
}

TEST_F(MainWindowTest, ClickingACatalogueItemChoosesItOncePerClickAlsoWhenSelected) {
  HWND list = control("ListBox1");
  SendMessageW(list, LB_SETTOPINDEX, kBrokenArea, 0);
  // A refused area map file shows its message once per choice.
  clickItem(list, kBrokenArea, 20);
  EXPECT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(model().ListBox1().selected, kBrokenArea);
  clickItem(list, kBrokenArea, 20);
  EXPECT_EQ(dialogs_.messages.size(), 2u);

  // Chosen again, an area's default checks replace the user's.
  clickItem(list, kBrokenArea + 1, 20);
  SendMessageW(list, LB_SETTOPINDEX, 0, 0);
  clickItem(list, kLinkGateArea, 20);
  perform({Step::Toggle, 1, 1});
  ASSERT_TRUE(model().CheckListBox1().isChecked(1));
  clickItem(list, kLinkGateArea, 20);
  EXPECT_FALSE(model().CheckListBox1().isChecked(1));
  EXPECT_TRUE(model().CheckListBox1().isChecked(0));
  expectWindowShowsModel();
}

TEST_F(MainWindowTest, HoldingTheButtonPastTheMapsEdgeGivesNegativePositionsAndNoClick) {
  chooseArea(kLinkGateArea);
  HWND map = control("Image2");
  SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, pointParam(40, 10));
  EXPECT_EQ(GetCapture(), map);
  SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, pointParam(-40, 10));
  EXPECT_EQ(model().cursor().x, -32);
  SendMessageW(map, WM_LBUTTONUP, 0, pointParam(-40, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(model().areaSlots().usedCount(), 0);
}

TEST_F(MainWindowTest, NameFieldTakesAtMostThirtyOneCp932Bytes) {
  // "é" has no CP932 form; "テストワールド" is 14 bytes, so eight "あ" fit
  // and the ninth is refused.
  perform({Step::Type, 0x00E9});
  for (int i = 0; i < 9; ++i)
    perform({Step::Type, 0x3042});
  EXPECT_EQ(model().Edit1().size(), 30u);
  EXPECT_EQ(textOf(control("Edit1")),
            toWide(world::kDefaultWorldName) + std::wstring(8, L'\u3042'));
}

// --- The system's dialogs, answered from a timer inside their modal loops.

// What the timer saw and did; one at a time, since a TIMERPROC has no
// context of its own.
struct DialogScript {
  HWND form = nullptr;
  std::function<bool(HWND dialog)> answer;  // true when it answered
  bool answered = false;
};
DialogScript* currentScript = nullptr;

// A search among this thread's windows for a visible one of a class.
struct WindowSearch {
  std::wstring_view className;
  HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<WindowSearch*>(search);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (IsWindowVisible(window) && wanted->className == className) {
    wanted->found = window;
    return FALSE;
  }
  return TRUE;
}

// This thread's visible window of class `className` (a dialog: "#32770", a
// popup menu: "#32768"), or nullptr.
HWND visibleWindowOfClass(std::wstring_view className) {
  WindowSearch search{className};
  EnumThreadWindows(GetCurrentThreadId(), &matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK answerDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (currentScript == nullptr || currentScript->answered) return;
  HWND dialog = visibleWindowOfClass(L"#32770");
  if (dialog != nullptr && currentScript->answer(dialog)) currentScript->answered = true;
}

// Runs `action` while a timer answers the first dialog it opens.
bool answerNextDialog(DialogScript& script, const std::function<void()>& action) {
  currentScript = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &answerDialog);
  action();
  KillTimer(nullptr, timer);
  currentScript = nullptr;
  return script.answered;
}

std::wstring staticTexts(HWND dialog) {
  std::wstring texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (std::wstring_view(className) == L"Static") texts += textOf(child);
  }
  return texts;
}

TEST_F(MainWindowTest, ARefusedPlacementShowsItsMessageInABoxModalToTheWindow) {
  Win32Dialogs system;
  open(&system);
  system.setOwner(window_->handle());
  chooseArea(kTowerOnlyArea);  // a link gate area needs a dungeon; this one has none
  std::wstring shown;
  HWND owner = nullptr;
  bool formDisabled = false;
  DialogScript script;
  script.answer = [&](HWND box) {
    shown = staticTexts(box);
    owner = GetWindow(box, GW_OWNER);
    formDisabled = IsWindowEnabled(window_->handle()) == FALSE;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
  };
  ASSERT_TRUE(answerNextDialog(script, [&] { placeAt(10, 10); }));
  EXPECT_EQ(shown, toWide(world::kLinkGateNeedsDungeonMessage));
  EXPECT_EQ(owner, window_->handle());
  EXPECT_TRUE(formDisabled);
  EXPECT_TRUE(IsWindowEnabled(window_->handle()));
  EXPECT_EQ(model().areaSlots().usedCount(), 0);
  EXPECT_EQ(listCount(control("ListBox2")), 0);
}

// The first start without a game, with the system's own dialogs: the
// game's message, the folder dialog with its instruction, a folder without
// the catalogue named in a message and the dialog again; Cancel gives no
// window to edit in.
TEST_F(MainWindowTest, WithoutACatalogueTheFolderQuestionRepeatsUntilCancelled) {
  const platform::testing::TempFolder empty("app-win32-no-game");
  const platform::testing::TempFolder wrong("app-win32-wrong-folder");
  Win32Dialogs system;
  editor::EditorOptions options;
  options.gameFolder = empty.path();
  window_ = std::make_unique<TForm1>(options, &system);
  system.setOwner(window_->handle());
  // The folder dialog starts in the current folder: OK there chooses it.
  const fs::path startFolder = fs::current_path();
  fs::current_path(wrong.path());
  std::vector<std::wstring> seen;  // "folder: " or "message: ", then the dialog's texts
  HWND last = nullptr;
  DialogScript script;
  script.answer = [&](HWND dialog) {
    if (dialog == last) return false;  // still closing
    last = dialog;
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window_->handle());
    const bool folderDialog = FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr) != nullptr;
    seen.push_back((folderDialog ? L"folder: " : L"message: ") + staticTexts(dialog));
    // OK, OK, OK, then Cancel to the second folder dialog.
    PostMessageW(dialog, WM_COMMAND, seen.size() < 4 ? IDOK : IDCANCEL, 0);
    return seen.size() == 4;
  };
  bool found = true;
  const bool answered = answerNextDialog(script, [&] { found = window_->FormCreate(); });
  fs::current_path(startFolder);
  ASSERT_TRUE(answered);
  EXPECT_FALSE(found);
  ASSERT_EQ(seen.size(), 4u);
  const std::wstring instruction = toWide(editor::kChooseGameFolderInstruction);
  EXPECT_EQ(seen[0], L"message: " + toWide(editor::kChooseGameFolderMessage));
  EXPECT_EQ(seen[1].rfind(L"folder: ", 0), 0u) << seen[1];
  EXPECT_NE(seen[1].find(instruction), std::wstring::npos) << seen[1];
  // The folder chosen, named above the reason. (Wine's browser may not
  // reach the current folder on drive Z: and confirm another one; any
  // folder without the catalogue will do.)
  const std::wstring lacks = L"\n" + toWide(editor::kFolderLacksCatalogueSuffix);
  EXPECT_EQ(seen[2].rfind(L"message: ", 0), 0u) << seen[2];
  ASSERT_GT(seen[2].size(), std::wstring(L"message: ").size() + lacks.size()) << seen[2];
  EXPECT_EQ(seen[2].substr(seen[2].size() - lacks.size()), lacks) << seen[2];
  EXPECT_EQ(seen[3], seen[1]);
}

// The file name field of the system's file dialog.
HWND fileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, cmb13);
  return field != nullptr ? field : GetDlgItem(dialog, edt1);
}

TEST_F(MainWindowTest, TheSaveDialogStartsInUsrProposesTheNameAndAsksBeforeReplacing) {
  Win32Dialogs system;
  open(&system);
  system.setOwner(window_->handle());
  chooseArea(kLinkGateArea);
  placeAt(10, 10);
  ASSERT_EQ(model().areaSlots().usedCount(), 1);

  const fs::path usr = gameFolder_ / "usr";
  // Typed as a user would, a name in the folder the dialog shows.
  const std::wstring typed = L"\u4fdd\u5b58.dat";  // "保存.dat"
  const fs::path chosen = usr / typed;
  fs::remove(chosen);
  std::wstring title;
  std::wstring folder;
  std::wstring proposed;
  DialogScript first;
  first.answer = [&](HWND dialog) {
    title = textOf(dialog);
    wchar_t text[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(text));
    folder = text;
    proposed = textOf(fileNameField(dialog));
    SetWindowTextW(fileNameField(dialog), typed.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return true;
  };
  ASSERT_TRUE(answerNextDialog(first, [&] { SendMessageW(control("Button2"), BM_CLICK, 0, 0); }));
  EXPECT_EQ(title, kSaveDialogTitle);
  EXPECT_TRUE(fs::equivalent(fs::path(folder), usr)) << fs::path(folder).string();
  EXPECT_EQ(proposed, L"RVTSV1.dat");
  const std::vector<char> saved = fileBytes(chosen);
  ASSERT_FALSE(saved.empty());

  // The same name again: the dialog asks before replacing, and Yes replaces.
  fs::resize_file(chosen, 1);
  bool asked = false;
  DialogScript second;
  HWND saveDialog = nullptr;
  second.answer = [&](HWND dialog) {
    if (saveDialog == nullptr) {
      saveDialog = dialog;
      SetWindowTextW(fileNameField(dialog), typed.c_str());
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      return false;
    }
    if (dialog == saveDialog) return false;  // the question is not up yet
    asked = GetWindow(dialog, GW_OWNER) == saveDialog;
    PostMessageW(dialog, WM_COMMAND, IDYES, 0);
    return true;
  };
  ASSERT_TRUE(answerNextDialog(second, [&] { SendMessageW(control("Button2"), BM_CLICK, 0, 0); }));
  EXPECT_TRUE(asked);
  EXPECT_EQ(fileBytes(chosen), saved);
  fs::remove(chosen);
}

// The file types a file dialog offers in its type box.
std::vector<std::wstring> fileTypes(HWND dialog) {
  std::vector<std::wstring> types;
  HWND box = GetDlgItem(dialog, cmb1);
  const auto count =
      static_cast<WPARAM>(std::max<LRESULT>(SendMessageW(box, CB_GETCOUNT, 0, 0), 0));
  for (WPARAM i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)) + 1,
                      L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    types.push_back(text.c_str());
  }
  return types;
}

TEST_F(MainWindowTest, TheLoadAndSaveDialogsOfferSaveFilesThenAllFiles) {
  Win32Dialogs system;
  system.setOwner(window_->handle());
  const std::vector<std::wstring> expected{
      L"\u30bb\u30fc\u30d6\u30d5\u30a1\u30a4\u30eb (*.dat)",
      L"\u3059\u3079\u3066\u306e\u30d5\u30a1\u30a4\u30eb (*.*)"};
  const std::pair<const wchar_t*, std::function<void()>> dialogs[] = {
      {kOpenDialogTitle, [&] { system.chooseOpenFile(gameFolder_); }},
      {kSaveDialogTitle, [&] { system.chooseSaveFile(gameFolder_, "RVTSV1.dat"); }},
  };
  for (const auto& [title, open] : dialogs) {
    SCOPED_TRACE(fs::path(title).string());
    std::vector<std::wstring> offered;
    std::wstring shownTitle;
    DialogScript script;
    script.answer = [&](HWND dialog) {
      shownTitle = textOf(dialog);
      offered = fileTypes(dialog);
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return true;
    };
    ASSERT_TRUE(answerNextDialog(script, open));
    EXPECT_EQ(shownTitle, title);
    EXPECT_EQ(offered, expected);
  }
}

TEST_F(MainWindowTest, TheSaveQuestionIsAYesNoCancelBoxModalToTheWindow) {
  Win32Dialogs system;
  system.setOwner(window_->handle());
  const std::string question =
      "\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";  // "保存しますか？"
  const std::pair<int, editor::SaveChoice> answers[] = {
      {IDYES, editor::SaveChoice::Save},
      {IDNO, editor::SaveChoice::DontSave},
      {IDCANCEL, editor::SaveChoice::Cancel},
  };
  for (const auto& [button, choice] : answers) {
    SCOPED_TRACE(button);
    std::wstring shown;
    HWND owner = nullptr;
    DialogScript script;
    script.answer = [&](HWND box) {
      shown = staticTexts(box);
      owner = GetWindow(box, GW_OWNER);
      PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
      return true;
    };
    editor::SaveChoice answered = editor::SaveChoice::Save;
    ASSERT_TRUE(answerNextDialog(script, [&] { answered = system.askSaveChanges(question); }));
    EXPECT_EQ(answered, choice);
    EXPECT_EQ(shown, toWide(question));
    EXPECT_EQ(owner, window_->handle());
  }
}

TEST_F(MainWindowTest, ThePictureDialogProposesThePngNameAndAddsTheExtension) {
  Win32Dialogs system;
  system.setOwner(window_->handle());
  const std::wstring typed = L"map";  // no extension
  std::wstring title;
  std::wstring proposed;
  DialogScript script;
  script.answer = [&](HWND dialog) {
    title = textOf(dialog);
    proposed = textOf(fileNameField(dialog));
    SetWindowTextW(fileNameField(dialog), typed.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return true;
  };
  std::optional<fs::path> chosen;
  ASSERT_TRUE(answerNextDialog(script, [&] { chosen = system.choosePictureFile("world.png"); }));
  EXPECT_EQ(title, kPictureDialogTitle);
  EXPECT_EQ(proposed, L"world.png");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->filename(), fs::path("map.png"));
}

// --- Undo and redo, unsaved work, dropped files and the world map's menu.

// Ctrl (and Shift) held with `key` pressed in `target`, through the message
// loop as the program runs it: the window's keyboard handling first, else
// the key's translation and the control. True when the window's own
// handling (shortcuts, the dialog keys) took it.
bool pressWithCtrl(TForm1& window, HWND target, WPARAM key, bool shift) {
  SetFocus(target);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  MSG message{};
  message.hwnd = target;
  message.message = WM_KEYDOWN;
  message.wParam = key;
  message.lParam = 1;
  const bool used = window.preTranslateMessage(message);
  if (!used) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  pump();
  keys[VK_CONTROL] = 0;
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  return used;
}

TEST_F(MainWindowTest, CtrlZAndCtrlYUndoAndRedoExceptInTheNameFieldWhoseUndoTheModelFollows) {
  chooseArea(kLinkGateArea);
  placeAt(10, 10);
  pump();
  ASSERT_EQ(model().areaSlots().usedCount(), 1);
  struct Press {
    const char* control;
    WPARAM key;
    bool shift;
    int placedAfter;
  };
  const Press presses[] = {
      {"ListBox1", 'Z', false, 0}, {"Button2", 'Y', false, 1},  {"Image2", 'Z', false, 0},
      {"ListBox2", 'Z', true, 1},  {"ListBox1", 'Y', false, 1},  // nothing left to redo
  };
  for (const Press& press : presses) {
    SCOPED_TRACE(std::string(press.control) + " " + static_cast<char>(press.key) +
                 (press.shift ? " with Shift" : ""));
    EXPECT_TRUE(pressWithCtrl(*window_, control(press.control), press.key, press.shift));
    EXPECT_EQ(model().areaSlots().usedCount(), press.placedAfter);
    EXPECT_EQ(listCount(control("ListBox2")), press.placedAfter);
    expectWindowShowsModel();
  }

  // In the name field Ctrl+Z is the field's own: it takes back the typing,
  // the model takes the name back too, and the placement stays.
  perform({Step::Type, L'A'});
  ASSERT_EQ(model().Edit1(), std::string(world::kDefaultWorldName) + "A");
  pressWithCtrl(*window_, control("Edit1"), 'Z', false);
  EXPECT_EQ(textOf(control("Edit1")), toWide(world::kDefaultWorldName));
  EXPECT_EQ(model().Edit1(), world::kDefaultWorldName);
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
  pressWithCtrl(*window_, control("Edit1"), 'Y', false);
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
}

TEST_F(MainWindowTest, ClosingAModifiedWorldAsksAndStaysOpenUnlessItWasSaved) {
  // Unmodified, the window closes without a question.
  SendMessageW(window_->handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window_->handle(), nullptr);
  EXPECT_TRUE(dialogs_.questions.empty());

  open(&dialogs_);
  HWND form = window_->handle();
  chooseArea(kLinkGateArea);
  placeAt(10, 10);
  ASSERT_TRUE(model().isModified());
  const platform::testing::TempFolder folder("app-win32-close");
  // Cancel; then Save with the save dialog cancelled; then Save into a file.
  dialogs_.saveChoices = {editor::SaveChoice::Cancel, editor::SaveChoice::Save,
                          editor::SaveChoice::Save};
  dialogs_.saveAnswers = {std::nullopt};
  SendMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form));
  SendMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form));
  EXPECT_EQ(window_->handle(), form);
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_FALSE(fs::exists(folder.path() / "closed.dat"));

  dialogs_.saveAnswers.push_back(folder.path() / "closed.dat");
  SendMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(window_->handle(), nullptr);
  ASSERT_EQ(dialogs_.questions.size(), 3u);
  EXPECT_EQ(dialogs_.questions[0], dialogs_.questions[2]);
  EXPECT_FALSE(fileBytes(folder.path() / "closed.dat").empty());
  EXPECT_TRUE(dialogs_.messages.empty());
}

// The text the catalogue's tooltip holds now.
std::wstring hintShown(HWND hint, HWND form, HWND list) {
  std::vector<wchar_t> text(4096, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = text.data();
  SendMessageW(hint, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return text.data();
}

TEST_F(MainWindowTest, TheCatalogueHintFollowsTheItemUnderTheMouse) {
  HWND list = control("ListBox1");
  HWND hint = control("ListBox1Hint");
  ASSERT_NE(hint, nullptr);
  editor::EditorModel reference(dialogs_, {gameFolder_});
  ASSERT_TRUE(reference.FormCreate());
  for (const int item : {kTownArea, kLinkGateArea, kBrokenArea}) {
    SCOPED_TRACE(item);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(item), 0);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    SendMessageW(list, WM_MOUSEMOVE, 0, pointParam(rect.left + 10, rect.top + 2));
    const std::wstring expected = toWide(reference.areaHint(item));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(hintShown(hint, window_->handle(), list), expected);
  }
}

// The HDROP the shell hands over for files dropped on a window.
HDROP droppedFiles(const std::vector<fs::path>& files) {
  std::wstring names;
  for (const fs::path& file : files) {
    names += file.wstring();
    names += L'\0';
  }
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
              names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, ADroppedSaveLoadsAfterTheQuestionAndSeveralFilesLoadNothing) {
  const platform::testing::TempFolder folder("app-win32-drop");
  const fs::path save = folder.path() / "dropped.dat";
  chooseArea(kLinkGateArea);
  placeAt(10, 10);
  dialogs_.saveAnswers.push_back(save);
  SendMessageW(control("Button2"), BM_CLICK, 0, 0);
  pump();
  ASSERT_FALSE(fileBytes(save).empty());
  chooseArea(kFieldArea);
  placeAt(140, 10);
  ASSERT_EQ(model().areaSlots().usedCount(), 2);
  const auto drop = [&](const std::vector<fs::path>& files) {
    SendMessageW(window_->handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(droppedFiles(files)), 0);
    pump();
  };

  drop({save, save});
  EXPECT_TRUE(dialogs_.questions.empty());
  EXPECT_EQ(model().areaSlots().usedCount(), 2);

  dialogs_.saveChoices = {editor::SaveChoice::Cancel, editor::SaveChoice::DontSave};
  drop({save});
  EXPECT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(model().areaSlots().usedCount(), 2);

  drop({save});
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
  EXPECT_FALSE(model().isModified());
  EXPECT_EQ(listCount(control("ListBox2")), 1);
  EXPECT_TRUE(dialogs_.messages.empty());
  expectWindowShowsModel();
}

// The popup menu that a timer found open: its captions, then its first
// item chosen from the keyboard.
struct MenuScript {
  std::vector<std::wstring> captions;
  bool chose = false;
  int item = 0;  // the item to choose
};
MenuScript* currentMenu = nullptr;

void CALLBACK chooseFirstMenuItem(HWND, UINT, UINT_PTR, DWORD) {
  if (currentMenu == nullptr || currentMenu->chose) return;
  HWND window = visibleWindowOfClass(L"#32768");
  if (window == nullptr) return;
  auto* menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t caption[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
    currentMenu->captions.emplace_back(caption);
  }
  for (int i = 0; i <= currentMenu->item; ++i)
    PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
  currentMenu->chose = true;
}

// A right-click on `target` at `screen` while a timer chooses item `item`
// of the popup menu that opens: what the menu offered, and whether one did.
MenuScript rightClick(HWND target, POINT screen, int item = 0) {
  MenuScript script;
  script.item = item;
  currentMenu = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &chooseFirstMenuItem);
  SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
               pointParam(screen.x, screen.y));
  pump();
  KillTimer(nullptr, timer);
  currentMenu = nullptr;
  pump();
  return script;
}

TEST_F(MainWindowTest, TheWorldMapsMenuSavesTheMapAsShownWithoutTheCursorOutline) {
  chooseArea(kLinkGateArea);
  placeAt(10, 10);
  SendMessageW(control("Image2"), WM_MOUSEMOVE, 0, pointParam(200, 100));  // the outline moves on
  pump();
  const platform::testing::TempFolder folder("app-win32-picture");
  dialogs_.pictureAnswers.push_back(folder.path() / "world.png");

  POINT at{200, 100};
  ClientToScreen(control("Image2"), &at);
  const MenuScript script = rightClick(control("Image2"), at);
  ASSERT_TRUE(script.chose);
  // "ワールドマップを画像で保存…", "バックアップから読み込む…"
  const std::vector<std::wstring> captions{
      L"\u30ef\u30fc\u30eb\u30c9\u30de\u30c3\u30d7\u3092\u753b\u50cf\u3067\u4fdd\u5b58\u2026",
      L"\u30d0\u30c3\u30af\u30a2\u30c3\u30d7\u304b\u3089\u8aad\u307f\u8fbc\u3080\u2026"};
  EXPECT_EQ(script.captions, captions);
  ASSERT_EQ(dialogs_.pictureNames.size(), 1u);
  const std::vector<std::uint8_t> expected = canvas::encodePng(model().worldPictureCanvas());
  const std::vector<char> written = fileBytes(folder.path() / "world.png");
  EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()), expected);
  // The shown map has the cursor outline, the picture not.
  const canvas::Canvas picture = model().worldPictureCanvas();
  int differing = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) != model().Image2().pixel(x, y)) ++differing;
    }
  }
  EXPECT_GT(differing, 0);

  // Elsewhere a right-click offers no menu.
  EXPECT_FALSE(rightClick(control("ListBox1"), at).chose);
  EXPECT_EQ(dialogs_.pictureNames.size(), 1u);
}

// The exit code of a window process ended from outside.
constexpr UINT kKilledExitCode = 9;

TEST_F(MainWindowTest, TheWorldMapsMenuLoadsFromTheBackupFolder) {
  const platform::testing::TempFolder state("app-win32-backups");
  open(&dialogs_, state.path());
  dialogs_.openAnswers = {std::nullopt};
  POINT at{40, 40};
  ClientToScreen(control("Image2"), &at);
  ASSERT_TRUE(rightClick(control("Image2"), at, 1).chose);
  EXPECT_EQ(dialogs_.openFolders, std::vector<fs::path>{state.path() / "backups"});
}

// A window destroyed without closing, as a killed one is, leaves its world
// in the recovery file: the next window on the same state folder asks in a
// Yes / No box with Yes the default, and Yes brings the world back.
// Closing normally removes the file.
TEST_F(MainWindowTest, TheNextWindowOffersBackTheWorldOfOneThatNeverClosed) {
  const platform::testing::TempFolder state("app-win32-state");
  open(&dialogs_, state.path());
  chooseArea(kLinkGateArea);
  placeAt(10, 10);
  chooseArea(kTownArea);
  placeAt(200, 100);
  const world::AreaSlotTable placed = model().areaSlots();
  const fs::path recovery = model().recoveryFile();
  window_.reset();
  pump();
  ASSERT_TRUE(fs::exists(recovery));

  Win32Dialogs system;
  std::wstring asked;
  bool yesIsDefault = false;
  DialogScript question;
  question.answer = [&](HWND box) {
    asked = staticTexts(box);
    const auto style = GetWindowLongPtrW(GetDlgItem(box, IDYES), GWL_STYLE);
    yesIsDefault = (style & BS_DEFPUSHBUTTON) != 0;
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    return true;
  };
  bool found = false;
  ASSERT_TRUE(answerNextDialog(question, [&] {
    window_ = std::make_unique<TForm1>(editor::EditorOptions{gameFolder_, nullptr, state.path()},
                                       &system);
    system.setOwner(window_->handle());
    found = window_->FormCreate();
  }));
  ASSERT_TRUE(found);
  ShowWindow(window_->handle(), SW_SHOW);
  pump();
  EXPECT_EQ(asked, toWide(editor::kRestoreRecoveryQuestion));
  EXPECT_TRUE(yesIsDefault);
  for (int i = 0; i < world::kSlotCount; ++i) {
    const world::AreaSlot& slot = model().areaSlots()[i];
    EXPECT_EQ(slot.used, placed[i].used) << i;
    EXPECT_EQ(std::tuple(slot.areaNumber, slot.x, slot.y, slot.kind),
              std::tuple(placed[i].areaNumber, placed[i].x, placed[i].y, placed[i].kind))
        << i;
  }
  EXPECT_EQ(listCount(control("ListBox2")), 2);
  EXPECT_TRUE(model().isModified());
  expectWindowShowsModel();

  HWND form = window_->handle();
  DialogScript dontSave;
  dontSave.answer = [&](HWND box) {
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    return true;
  };
  ASSERT_TRUE(answerNextDialog(dontSave, [&] { SendMessageW(form, WM_CLOSE, 0, 0); }));
  EXPECT_FALSE(IsWindow(form));
  EXPECT_FALSE(fs::exists(recovery));
}

// The world the killed-window test places, saves and then loses with its
// process: the game and state folders and the save file come from the
// environment; without them (a plain run of the disabled tests) it skips.
TEST_F(MainWindowTest, DISABLED_KilledWindowChild) {
  const char* game = std::getenv("WORLDSMITH_KILLED_GAME");
  const char* state = std::getenv("WORLDSMITH_KILLED_STATE");
  const char* save = std::getenv("WORLDSMITH_KILLED_SAVE");
  if (game == nullptr || state == nullptr || save == nullptr) GTEST_SKIP();
  open(&dialogs_, fs::path(state), fs::path(game));
  for (const Step& step : std::vector<Step>{{Step::Choose, kLinkGateArea},
                                            {Step::Toggle, 1, 1},
                                            {Step::Place, 10, 10},
                                            {Step::Choose, kTownArea},
                                            {Step::SelectKind, 3},
                                            {Step::Toggle, 2, 3},
                                            {Step::Place, 200, 100},
                                            {Step::Type, L'K'}})
    perform(step);
  dialogs_.saveAnswers.push_back(save);
  SendMessageW(control("Button2"), BM_CLICK, 0, 0);
  ASSERT_FALSE(fileBytes(save).empty());
  TerminateProcess(GetCurrentProcess(), kKilledExitCode);
}

// The window's process ended by TerminateProcess after a SAVE: the next
// window on the same state folder asks, and after Yes saves the very same
// bytes.
TEST_F(MainWindowTest, AWindowKilledComesBackWholeAfterYes) {
  const platform::testing::TempFolder state("app-win32-killed-state");
  const platform::testing::TempFolder out("app-win32-killed-out");
  const fs::path before = out.path() / "before.dat";
  const platform::testing::ScopedEnv game("WORLDSMITH_KILLED_GAME", gameFolder_.string());
  const platform::testing::ScopedEnv stateEnv("WORLDSMITH_KILLED_STATE", state.path().string());
  const platform::testing::ScopedEnv save("WORLDSMITH_KILLED_SAVE", before.string());
  std::wstring program(MAX_PATH, L'\0');
  program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
  std::wstring commandLine = L"\"" + program +
                             L"\" --gtest_also_run_disabled_tests "
                             L"--gtest_filter=MainWindowTest.DISABLED_KilledWindowChild";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ASSERT_EQ(exitCode, kKilledExitCode);
  ASSERT_FALSE(fileBytes(before).empty());

  dialogs_.yesNoAnswers = {true};
  open(&dialogs_, state.path());
  EXPECT_EQ(dialogs_.yesNoQuestions.size(), 1u);
  EXPECT_EQ(listCount(control("ListBox2")), 2);
  EXPECT_EQ(model().Edit1(), std::string(world::kDefaultWorldName) + "K");
  EXPECT_TRUE(model().isModified());
  const fs::path after = out.path() / "after.dat";
  dialogs_.saveAnswers.push_back(after);
  SendMessageW(control("Button2"), BM_CLICK, 0, 0);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(fileBytes(after), fileBytes(before));
}

}  // namespace
}  // namespace ws::app
