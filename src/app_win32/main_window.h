#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app_win32/canvas_view.h"
#include "app_win32/gdi_objects.h"
#include "app_win32/win32_dialogs.h"
#include "editor/dialogs.h"
#include "editor/editor_model.h"
#include "editor/shown_lists.h"
#include "editor/window_layout.h"

namespace ws::app {

// The editor's one window, Form1 of the class TForm1, as a native window.
// It shows the model's controls and canvases and hands every user event to
// the model's handler; after each handler it shows the model again, and
// what it changes in the controls then never comes back as a user event.
class TForm1 {
 public:
  // Registers the window classes; once per process, before the first window.
  static void registerClasses(HINSTANCE instance);

  // Creates the window and its controls, hidden. `dialogs` answers the
  // model's dialogs; without one the window opens the system's dialogs.
  explicit TForm1(editor::EditorOptions options, editor::Dialogs* dialogs = nullptr);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Runs FormCreate and shows its outcome; call once, before showing.
  bool FormCreate();

  HWND handle() const { return window_; }
  // A control by its name ("ListBox1", "Panel1", ...); nullptr for none.
  HWND control(std::string_view name) const;
  const editor::EditorModel& model() const { return *model_; }

  // The keyboard handling the message loop gives the window before
  // dispatching: Ctrl+Z (undo), Ctrl+Y and Ctrl+Shift+Z (redo) outside the
  // name field, then moving the focus with Tab and the arrows among the
  // controls. True when the message was used up.
  bool preTranslateMessage(MSG& message);

  // Opens the save file `path` (the question first, then LOAD) once the
  // message loop runs: the question and LOAD's messages are modal boxes,
  // which must not open inside start-up or a drop.
  void openFileLater(std::filesystem::path path);

  // Makes closing this window end the thread's message loop.
  void quitWhenDestroyed() { quitOnDestroy_ = true; }

 private:
  // A window with a fixed layout: it can be moved, minimised and resized,
  // but a maximised one would show only more empty space.
  static constexpr DWORD kForm1Style = (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_CLIPCHILDREN;
  static constexpr DWORD kForm1ExStyle = WS_EX_CONTROLPARENT;

  struct NamedControl {
    std::string_view name;
    HWND window;
  };

  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK listBox1Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void createControls();
  // Lays the window out for a screen of `dpi`: the font, the list items,
  // every control's place and the canvases, all the 96-DPI layout times
  // dpi / 96 (main_window_layout.cpp).
  void applyDpi(int dpi);
  void placeControls();
  // The window's outer size at `dpi`: its 96-DPI client area scaled, with
  // the frame the system draws at that resolution.
  SIZE outerSize(int dpi) const;
  // Puts the window at its layout position times dpi / 96, at outerSize,
  // and on the screen.
  void placeWindow();
  // The window moved to a monitor of another resolution (WM_DPICHANGED).
  void onDpiChanged(int dpi, const RECT& suggested);
  // The messages about the window's size at a resolution; true, with
  // `result`, when `message` was one of them.
  bool handleScalingMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  HWND addControl(std::string_view name, const wchar_t* className, std::string_view cp932Text,
                  DWORD style, DWORD exStyle, HWND parent, int id,
                  const editor::ControlPlace& place);

  // WM_COMMAND and WM_NOTIFY from the controls: the user's events.
  void onCommand(int id, int code);
  void onNotify(const NMHDR& header);
  void onListBox1Pressed(LPARAM position);
  void onListBox1Released();
  void onWorldNameEdited();
  void onClose();
  void onDropFiles(HDROP drop);
  void onContextMenu(HWND clicked, LPARAM position);
  void onListBox1MouseMove(LPARAM position);
  void createAreaHint(HWND listBox1);
  // Lets go of the window: its messages no longer reach this object, and the
  // canvases and control handles are dropped before the system reuses them.
  void releaseWindow();
  // The area hint's tool record for ListBox1, with the current hint text.
  TTTOOLINFOW hintTool(HWND listBox1);

  // Runs one model handler, then shows the model.
  template <typename Handler>
  void run(Handler&& handler);
  // Shows the model's state in the controls.
  void showModel();

  std::unique_ptr<Win32Dialogs> ownDialogs_;
  std::unique_ptr<editor::EditorModel> model_;
  HWND window_ = nullptr;
  // The resolution the window is laid out for.
  int dpi_ = 96;
  GdiObject<HFONT> font_;
  std::vector<NamedControl> controls_;
  std::unique_ptr<CanvasView> image1_;
  std::unique_ptr<CanvasView> image2_;
  // The tooltip that shows the hint of the catalogue item under the mouse.
  HWND listBox1Hint_ = nullptr;
  int hintedItem_ = -1;
  std::wstring hintText_;
  // The file openFileLater will open.
  std::optional<std::filesystem::path> fileToOpen_;

  // True while showModel changes controls: their notifications then are the
  // window's own doing, not the user's.
  bool showing_ = false;
  // Set when the catalogue's selection notification ran a choice during the
  // current mouse click.
  bool listBox1ChoseDuringClick_ = false;
  // The catalogue item under the mouse and the selected one when the left
  // button went down on the catalogue, -1 for none.
  int listBox1ItemAtPress_ = -1;
  int listBox1SelectionAtPress_ = -1;
  // Closing the window ends the message loop (the program's window; not a
  // test's).
  bool quitOnDestroy_ = false;

  // What each list shows, to fill a list again only when it changed.
  editor::ShownLists shownLists_;
};

}  // namespace ws::app
