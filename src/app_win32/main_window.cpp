#include "app_win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "app_win32/check_list.h"
#include "app_win32/container_windows.h"
#include "app_win32/control_notifications.h"
#include "app_win32/dpi_scale.h"
#include "app_win32/monitor_dpi.h"
#include "app_win32/win32_text.h"
#include "app_win32/window_owner.h"
#include "editor/name_field.h"
#include "editor/window_layout.h"
#include "editor/window_texts.h"

namespace ws::app {
namespace {

constexpr wchar_t kFormClass[] = L"TForm1";

// The row of `list` under a mouse position given as a message's LPARAM, or
// -1 below the last item.
int listItemAt(HWND list, LPARAM position) {
  const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, position);
  return HIWORD(hit) == 0 ? LOWORD(hit) : -1;
}

// Control identifiers; 1 and 2 stay free for IDOK and IDCANCEL, which the
// dialog keyboard handling sends for Enter and Escape.
enum ControlId : int {
  kButton1Id = 101,
  kListBox1Id,
  kScrollBox1Id,
  kImage2Id,
  kButton2Id,
  kPanel1Id,
  kLabel1Id,
  kCheckListBox1Id,
  kRadioButton1Id,
  kRadioButton2Id,
  kRadioButton3Id,
  kCheckListBox2Id,
  kCheckListBox3Id,
  kLabel2Id,
  kEdit1Id,
  kListBox2Id,
  kImage1Id,
};

constexpr UINT_PTR kListBox1SubclassId = 1;

// Posted to run openFileLater's file once the message loop takes it.
constexpr UINT kOpenFileMessage = WM_APP + 1;
// The world map's context menu: its one command.
constexpr UINT kSaveWorldPictureCommand = 1;
constexpr UINT kLoadBackupCommand = 2;

// A popup menu destroyed when it goes out of scope.
struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using PopupMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// The list box styles: single selection, notifications, a vertical bar.
constexpr DWORD kListStyle = WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;

// The kind buttons' control ids follow the kinds' button order.
std::optional<world::AreaKind> kindOfControl(int id) {
  return editor::kindOfButton(id - kRadioButton1Id + 1);
}

void setRedraw(HWND list, bool on) {
  SendMessageW(list, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) InvalidateRect(list, nullptr, TRUE);
}

// Fills the list with the items' texts.
void showItems(HWND list, const std::vector<std::string>& items) {
  setRedraw(list, false);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& text : items) {
    const std::wstring wide = toWide(text);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  setRedraw(list, true);
}

void showSelection(HWND list, int selected) {
  if (static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)) == selected) return;
  // -1 clears the selection.
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void showVisible(HWND control, bool visible) {
  const bool shown = (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != visible) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void showCheckList(HWND list, const editor::CheckListBox& model, bool refill) {
  if (refill) showItems(list, model.items);
  for (int i = 0; i < model.count(); ++i)
    setCheckMark(list, i, model.isChecked(i));
  showVisible(list, model.visible);
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

}  // namespace

void TForm1::registerClasses(HINSTANCE instance) {
  enablePerMonitorDpiAwareness();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES;  // the tooltip is one of these
  InitCommonControlsEx(&controls);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &TForm1::windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kFormClass;
  RegisterClassExW(&windowClass);
  registerContainerClasses(instance);
  CanvasView::registerClass(instance);
}

TForm1::TForm1(editor::EditorOptions options, editor::Dialogs* dialogs) {
  if (dialogs == nullptr) {
    ownDialogs_ = std::make_unique<Win32Dialogs>();
    dialogs = ownDialogs_.get();
  }
  model_ = std::make_unique<editor::EditorModel>(*dialogs, std::move(options));

  const editor::ControlPlace& place = editor::kForm1Place;
  CreateWindowExW(kForm1ExStyle, kFormClass, toWide(editor::kFormCaption).c_str(), kForm1Style,
                  place.left, place.top, place.width, place.height, nullptr, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (ownDialogs_) ownDialogs_->setOwner(window_);
  createControls();
  applyDpi(windowDpi(window_));
  placeWindow();
  // Save files dropped from the shell arrive as WM_DROPFILES.
  DragAcceptFiles(window_, TRUE);
  showModel();
}

TForm1::~TForm1() {
  if (window_ == nullptr) return;
  HWND window = window_;
  releaseWindow();
  DestroyWindow(window);
}

void TForm1::releaseWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  window_ = nullptr;
  image1_.reset();
  image2_.reset();
  controls_.clear();
  listBox1Hint_ = nullptr;
}

HWND TForm1::addControl(std::string_view name, const wchar_t* className, std::string_view cp932Text,
                        DWORD style, DWORD exStyle, HWND parent, int id,
                        const editor::ControlPlace& place) {
  HWND control = CreateWindowExW(
      exStyle, className, toWide(cp932Text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
      place.top, place.width, place.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  controls_.push_back({name, control});
  return control;
}

// The controls are created in the order the keyboard focus visits them, so
// that the window order within each parent is the tab order.
void TForm1::createControls() {
  using namespace editor;
  const DWORD group = WS_GROUP;
  addControl("Button1", L"BUTTON", kButton1Caption, BS_PUSHBUTTON | WS_TABSTOP | group, 0, window_,
             kButton1Id, kButton1Place);
  HWND listBox1 = addControl("ListBox1", L"LISTBOX", "", kListStyle | group, WS_EX_CLIENTEDGE,
                             window_, kListBox1Id, kListBox1Place);
  SetWindowSubclass(listBox1, &TForm1::listBox1Proc, kListBox1SubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  createAreaHint(listBox1);

  // A one-pixel border: inside a sunken edge, the horizontal bar would leave
  // one row less than the map's 256 and bring a vertical bar with it.
  HWND scrollBox1 =
      addControl("ScrollBox1", kScrollBoxClass, "",
                 WS_HSCROLL | WS_VSCROLL | WS_TABSTOP | WS_CLIPCHILDREN | WS_BORDER | group, 0,
                 window_, kScrollBox1Id, kScrollBox1Place);
  image2_ = std::make_unique<CanvasView>(scrollBox1, kImage2Id, POINT{0, 0}, model_->Image2(), 1);
  controls_.push_back({"Image2", image2_->handle()});
  updateScrollBox(scrollBox1);

  addControl("Button2", L"BUTTON", kButton2Caption, BS_PUSHBUTTON | WS_TABSTOP | group, 0, window_,
             kButton2Id, kButton2Place);

  HWND panel1 = addControl("Panel1", kPanelClass, "", WS_CLIPCHILDREN | group, WS_EX_CONTROLPARENT,
                           window_, kPanel1Id, kPanel1Place);
  addControl("Label1", L"STATIC", kLabel1Caption, SS_LEFT | SS_NOPREFIX, 0, panel1, kLabel1Id,
             kLabel1Place);
  makeCheckList(addControl("CheckListBox1", L"LISTBOX", "",
                           kCheckListStyle | WS_VSCROLL | WS_TABSTOP | group, WS_EX_CLIENTEDGE,
                           panel1, kCheckListBox1Id, kCheckListBox1Place));
  // Plain radio buttons: the model decides which one is selected and the
  // window only shows it.
  const std::array<std::string_view, 3> captions{kRadioButton1Caption, kRadioButton2Caption,
                                                 kRadioButton3Caption};
  const std::array<ControlPlace, 3> places{kRadioButton1Place, kRadioButton2Place,
                                           kRadioButton3Place};
  const std::array<std::string_view, 3> names{"RadioButton1", "RadioButton2", "RadioButton3"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    addControl(names[i], L"BUTTON", captions[i], BS_RADIOBUTTON | WS_TABSTOP | (i == 0 ? group : 0),
               0, panel1, kRadioButton1Id + static_cast<int>(i), places[i]);
  }
  makeCheckList(addControl("CheckListBox2", L"LISTBOX", "",
                           kCheckListStyle | WS_VSCROLL | WS_TABSTOP | group, WS_EX_CLIENTEDGE,
                           panel1, kCheckListBox2Id, kCheckListBox2Place));

  addControl("CheckListBox3", L"LISTBOX", "", kCheckListStyle | WS_VSCROLL | WS_TABSTOP | group,
             WS_EX_CLIENTEDGE, window_, kCheckListBox3Id, kCheckListBox3Place);
  addControl("Label2", L"STATIC", kLabel2Caption, SS_LEFT | SS_NOPREFIX | group, 0, window_,
             kLabel2Id, kLabel2Place);
  addControl("Edit1", L"EDIT", "", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | group, WS_EX_CLIENTEDGE,
             window_, kEdit1Id, kEdit1Place);
  addControl("ListBox2", L"LISTBOX", "", kListStyle | group, WS_EX_CLIENTEDGE, window_, kListBox2Id,
             kListBox2Place);

  image1_ =
      std::make_unique<CanvasView>(window_, kImage1Id, POINT{kImage1Place.left, kImage1Place.top},
                                   model_->Image1(), kPreviewScale);
  controls_.push_back({"Image1", image1_->handle()});
}

HWND TForm1::control(std::string_view name) const {
  for (const NamedControl& named : controls_) {
    if (named.name == name) return named.window;
  }
  return nullptr;
}

// The whole catalogue is one tool of the tooltip; its text follows the item
// under the mouse (onListBox1MouseMove).
void TForm1::createAreaHint(HWND listBox1) {
  listBox1Hint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  if (listBox1Hint_ == nullptr) return;
  TTTOOLINFOW tool = hintTool(listBox1);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  SendMessageW(listBox1Hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  controls_.push_back({"ListBox1Hint", listBox1Hint_});
}

bool TForm1::preTranslateMessage(MSG& message) {
  // Undo and redo, wherever the focus is in this window except the name
  // field, whose own Ctrl+Z undoes its typing.
  if (message.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
      (message.hwnd == window_ || IsChild(window_, message.hwnd)) &&
      message.hwnd != control("Edit1")) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (message.wParam == 'Z' && !shift) {
      run([this] { model_->undo(); });
      return true;
    }
    if (message.wParam == 'Y' || (message.wParam == 'Z' && shift)) {
      run([this] { model_->redo(); });
      return true;
    }
  }
  return IsDialogMessageW(window_, &message) != FALSE;
}

void TForm1::openFileLater(std::filesystem::path path) {
  fileToOpen_ = std::move(path);
  PostMessageW(window_, kOpenFileMessage, 0, 0);
}

bool TForm1::FormCreate() {
  const bool found = model_->FormCreate();
  showModel();
  return found;
}

LRESULT CALLBACK TForm1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TForm1* form = windowOwner<TForm1>(window, message, lParam);
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) form->window_ = window;
  return form->handleMessage(message, wParam, lParam);
}

// One case per message the window answers itself; a new one (closing,
// dropped files, a context menu) is one more case and one more handler.
LRESULT TForm1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      onNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
          static_cast<UINT>(scaleToDpi(editor::kListItemHeight, dpi_));
      return TRUE;
    case WM_DRAWITEM:
      drawCheckListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CLOSE:
      onClose();
      return 0;
    case WM_DROPFILES:
      onDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CONTEXTMENU:
      onContextMenu(reinterpret_cast<HWND>(wParam), lParam);
      return 0;
    case kOpenFileMessage:
      if (fileToOpen_) {
        const std::filesystem::path path = *std::exchange(fileToOpen_, std::nullopt);
        run([this, &path] { model_->openFile(path); });
      }
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      // Closed by the user: the handles are gone before the object is, and
      // the canvases let go of theirs now, before the system reuses them.
      const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
      releaseWindow();
      return result;
    }
    default: {
      LRESULT result = 0;
      if (handleScalingMessage(message, wParam, lParam, result)) return result;
      return DefWindowProcW(window_, message, wParam, lParam);
    }
  }
}

template <typename Handler>
void TForm1::run(Handler&& handler) {
  std::forward<Handler>(handler)();
  showModel();
}

void TForm1::onCommand(int id, int code) {
  if (showing_) return;
  switch (id) {
    case kButton1Id:
      if (code == BN_CLICKED) run([this] { model_->Button1Click(); });
      break;
    case kButton2Id:
      if (code == BN_CLICKED) run([this] { model_->Button2Click(); });
      break;
    case kRadioButton1Id:
    case kRadioButton2Id:
    case kRadioButton3Id:
      // Selecting the selected button runs nothing; the model knows.
      if (code == BN_CLICKED) {
        if (const std::optional<world::AreaKind> kind = kindOfControl(id)) {
          run([this, kind] { model_->selectKind(*kind); });
        }
      }
      break;
    case kListBox1Id: {
      if (code != LBN_SELCHANGE) break;
      const int row = static_cast<int>(SendMessageW(control("ListBox1"), LB_GETCURSEL, 0, 0));
      // Some systems notify again when the button comes up; only a new
      // selection is a new choice here (a click on the selected item is
      // handled when the button is released).
      if (row < 0 || row == model_->ListBox1().selected) break;
      listBox1ChoseDuringClick_ = true;
      run([this, row] { model_->chooseListBox1(row); });
      break;
    }
    case kListBox2Id: {
      if (code != LBN_SELCHANGE) break;
      const int row = static_cast<int>(SendMessageW(control("ListBox2"), LB_GETCURSEL, 0, 0));
      if (row < 0 || row == model_->ListBox2().selected) break;
      run([this, row] { model_->chooseListBox2(row); });
      break;
    }
    case kEdit1Id:
      if (code == EN_CHANGE) onWorldNameEdited();
      break;
    default:
      break;
  }
}

// Closing asks first while the world is modified; Cancel, or a SAVE that
// did not happen, keeps the window open.
void TForm1::onClose() {
  bool closes = false;
  run([this, &closes] { closes = model_->FormCloseQuery(); });
  if (!closes) return;
  model_->FormClose();
  DestroyWindow(window_);
}

// One dropped file is a save to open; several are no choice and open none.
void TForm1::onDropFiles(HDROP drop) {
  std::optional<std::filesystem::path> dropped;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
    std::wstring name(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, 0, name.data(), static_cast<UINT>(name.size())));
    if (!name.empty()) dropped = std::filesystem::path(name);
  }
  DragFinish(drop);
  // The shell waits for the drop to finish; the question comes after.
  if (dropped) openFileLater(std::move(*dropped));
}

// The world map's menu: "save the world map as a picture" and "load from a
// backup". From the
// keyboard (no mouse position) it opens at the map's visible corner.
// The message climbs from the map through the scroll box; some systems name
// the scroll box as the window clicked by then, so the point decides.
void TForm1::onContextMenu(HWND clicked, LPARAM position) {
  HWND map = image2_->handle();
  if (clicked != map && clicked != control("ScrollBox1")) return;
  POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (position == -1) {
    at = {0, 0};
    ClientToScreen(control("ScrollBox1"), &at);
  } else {
    RECT shown{};
    GetWindowRect(map, &shown);
    if (!PtInRect(&shown, at)) return;
  }
  const PopupMenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.get(), MF_STRING, kSaveWorldPictureCommand,
              toWide(editor::kSaveWorldPictureCaption).c_str());
  AppendMenuW(menu.get(), MF_STRING, kLoadBackupCommand,
              toWide(editor::kLoadBackupCaption).c_str());
  const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                     at.x, at.y, 0, window_, nullptr);
  if (chosen == static_cast<BOOL>(kSaveWorldPictureCommand)) {
    run([this] { model_->saveWorldPicture(); });
  } else if (chosen == static_cast<BOOL>(kLoadBackupCommand)) {
    run([this] { model_->loadBackup(); });
  }
}

void TForm1::onNotify(const NMHDR& header) {
  if (showing_) return;
  const auto id = static_cast<int>(header.idFrom);
  if (id == kImage2Id && header.code == kCanvasMouseMove) {
    const POINT at = reinterpret_cast<const NotifyPoint&>(header).point;
    run([this, at] { model_->Image2MouseMove(at.x, at.y); });
  } else if (id == kImage2Id && header.code == kCanvasClick) {
    run([this] { model_->Image2Click(); });
  } else if (header.code == kCheckToggle && (id == kCheckListBox1Id || id == kCheckListBox2Id)) {
    const int item = reinterpret_cast<const NotifyItem&>(header).item;
    const editor::CheckList list =
        id == kCheckListBox1Id ? editor::CheckList::Dungeons : editor::CheckList::Houses;
    run([this, list, item] { model_->toggleCheck(list, item); });
  }
}

// A click on the catalogue item that is already selected changes no
// selection, yet the user chose that area again, as after a load or after
// picking it from the placed areas; it runs the choice like any other click.
LRESULT CALLBACK TForm1::listBox1Proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
  auto* form = reinterpret_cast<TForm1*>(self);
  switch (message) {
    case WM_LBUTTONDOWN:
      form->onListBox1Pressed(lParam);
      break;
    case WM_LBUTTONUP: {
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      form->onListBox1Released();
      return result;
    }
    case WM_MOUSEMOVE:
      form->onListBox1MouseMove(lParam);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, &TForm1::listBox1Proc, kListBox1SubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

TTTOOLINFOW TForm1::hintTool(HWND listBox1) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(listBox1);
  tool.lpszText = hintText_.data();
  return tool;
}

void TForm1::onListBox1Pressed(LPARAM position) {
  HWND list = control("ListBox1");
  listBox1ItemAtPress_ = listItemAt(list, position);
  listBox1SelectionAtPress_ = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  listBox1ChoseDuringClick_ = false;
}

// A new item under the mouse gets its own hint: the old one goes, and the
// tooltip shows the new text after its usual delay.
void TForm1::onListBox1MouseMove(LPARAM position) {
  if (listBox1Hint_ == nullptr) return;
  const int item = listItemAt(control("ListBox1"), position);
  if (item == hintedItem_) return;
  hintedItem_ = item;
  // An empty text shows no tooltip: outside the items there is none.
  hintText_ = item < 0 ? std::wstring() : toWide(model_->areaHint(item));
  TTTOOLINFOW tool = hintTool(control("ListBox1"));
  SendMessageW(listBox1Hint_, TTM_POP, 0, 0);
  SendMessageW(listBox1Hint_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm1::onListBox1Released() {
  const int row = listBox1ItemAtPress_;
  listBox1ItemAtPress_ = -1;
  if (listBox1ChoseDuringClick_ || row < 0 || row != listBox1SelectionAtPress_) return;
  if (static_cast<int>(SendMessageW(control("ListBox1"), LB_GETCURSEL, 0, 0)) != row) return;
  run([this, row] { model_->chooseListBox1(row); });
}

void TForm1::onWorldNameEdited() {
  HWND edit = control("Edit1");
  const std::wstring typed = windowText(edit);
  DWORD caretEnd = 0;
  SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caretEnd));
  const std::optional<editor::RefusedName> refused =
      editor::typeWorldName(*model_, std::u16string(typed.begin(), typed.end()), caretEnd);
  if (!refused) return;
  const std::wstring kept(refused->text.begin(), refused->text.end());
  showing_ = true;
  SetWindowTextW(edit, kept.c_str());
  SendMessageW(edit, EM_SETSEL, refused->caret, static_cast<LPARAM>(refused->caret));
  showing_ = false;
  MessageBeep(MB_OK);
}

void TForm1::showModel() {
  showing_ = true;
  HWND listBox1 = control("ListBox1");
  if (shownLists_.needsRefill(*model_, editor::WindowList::ListBox1))
    showItems(listBox1, model_->ListBox1().items);
  showSelection(listBox1, model_->ListBox1().selected);
  HWND listBox2 = control("ListBox2");
  if (shownLists_.needsRefill(*model_, editor::WindowList::ListBox2))
    showItems(listBox2, model_->ListBox2().items);
  showSelection(listBox2, model_->ListBox2().selected);

  showCheckList(control("CheckListBox1"), model_->CheckListBox1(),
                shownLists_.needsRefill(*model_, editor::WindowList::CheckListBox1));
  showCheckList(control("CheckListBox2"), model_->CheckListBox2(),
                shownLists_.needsRefill(*model_, editor::WindowList::CheckListBox2));
  showCheckList(control("CheckListBox3"), model_->CheckListBox3(),
                shownLists_.needsRefill(*model_, editor::WindowList::CheckListBox3));
  // Never shown: its entries only feed the markers.
  showVisible(control("CheckListBox3"), false);

  const editor::RadioGroup& kinds = model_->RadioButtons();
  for (std::size_t i = 0; i < editor::kKindButtons.size(); ++i) {
    const world::AreaKind kind = editor::kKindButtons[i];
    HWND radio = GetDlgItem(control("Panel1"), kRadioButton1Id + static_cast<int>(i));
    const WPARAM state = kinds.selected == kind ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(radio, BM_GETCHECK, 0, 0)) != state) {
      SendMessageW(radio, BM_SETCHECK, state, 0);
    }
    if ((IsWindowEnabled(radio) != FALSE) != kinds.isEnabled(kind)) {
      EnableWindow(radio, kinds.isEnabled(kind) ? TRUE : FALSE);
    }
  }

  HWND edit = control("Edit1");
  const std::wstring name = toWide(model_->Edit1());
  if (windowText(edit) != name) SetWindowTextW(edit, name.c_str());

  image2_->refresh();
  image1_->refresh();
  showing_ = false;
}

}  // namespace ws::app
