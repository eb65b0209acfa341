// The window's layout at the screen's resolution: the controls, the font
// and the list items at their 96-DPI sizes times dpi / 96, and the window
// laid out again when it moves to a monitor of another resolution.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "app_win32/container_windows.h"
#include "app_win32/dpi_scale.h"
#include "app_win32/main_window.h"
#include "app_win32/monitor_dpi.h"
#include "app_win32/win32_text.h"
#include "editor/window_layout.h"
#include "editor/window_texts.h"

namespace ws::app {
namespace {

// The area hint's width before its lines wrap, at 96 DPI; its own line
// breaks always break.
constexpr int kHintWidth = 480;

// Every control the window places itself, with its 96-DPI place. The two
// images size themselves to their canvases; the world map sits at the
// scroll box's origin.
const std::array<std::pair<std::string_view, editor::ControlPlace>, 16> kPlaces{{
    {"Button1", editor::kButton1Place},
    {"ListBox1", editor::kListBox1Place},
    {"ScrollBox1", editor::kScrollBox1Place},
    {"Button2", editor::kButton2Place},
    {"Panel1", editor::kPanel1Place},
    {"Label1", editor::kLabel1Place},
    {"CheckListBox1", editor::kCheckListBox1Place},
    {"RadioButton1", editor::kRadioButton1Place},
    {"RadioButton2", editor::kRadioButton2Place},
    {"RadioButton3", editor::kRadioButton3Place},
    {"CheckListBox2", editor::kCheckListBox2Place},
    {"CheckListBox3", editor::kCheckListBox3Place},
    {"Label2", editor::kLabel2Place},
    {"Edit1", editor::kEdit1Place},
    {"ListBox2", editor::kListBox2Place},
    {"Image1", {editor::kImage1Place.left, editor::kImage1Place.top, 0, 0}},
}};

// "ＭＳ ゴシック" at a character height of 12 pixels (at 96 DPI) with the
// Shift-JIS character set. Where the face is missing, the font mapper takes
// the system's Japanese font for that character set.
HFONT createWindowFont(int dpi) {
  LOGFONTW font{};
  font.lfHeight = -scaleToDpi(editor::kFontPixelHeight, dpi);  // negative: the character height
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  const std::wstring face = toWide(editor::kFontFamily);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

bool isList(std::string_view name) {
  return name.find("ListBox") != std::string_view::npos;
}

}  // namespace

void TForm1::applyDpi(int dpi) {
  dpi_ = dpi;
  // Every control takes the new font before the old one goes.
  GdiObject<HFONT> font(createWindowFont(dpi));
  for (const NamedControl& named : controls_)
    SendMessageW(named.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);
  if (listBox1Hint_ != nullptr) {
    // With a width set, the hint's line breaks show as breaks.
    SendMessageW(listBox1Hint_, TTM_SETMAXTIPWIDTH, 0, scaleToDpi(kHintWidth, dpi));
  }
  // The item height after the font, which would otherwise decide it.
  for (const auto& [name, place] : kPlaces) {
    if (isList(name)) {
      SendMessageW(control(name), LB_SETITEMHEIGHT, 0, scaleToDpi(editor::kListItemHeight, dpi));
    }
  }
  image1_->setDpi(dpi);
  image2_->setDpi(dpi);
  placeControls();
  setScrollBoxDpi(control("ScrollBox1"), dpi);
  updateScrollBox(control("ScrollBox1"));
  InvalidateRect(window_, nullptr, TRUE);
}

// A list that shows whole items only fits its height to its items whenever
// it is given a size, so it is given its size after its items' height.
void TForm1::placeControls() {
  for (const auto& [name, place] : kPlaces) {
    const editor::ControlPlace scaled = scaledPlace(place, dpi_);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (scaled.width == 0) flags |= SWP_NOSIZE;
    SetWindowPos(control(name), nullptr, scaled.left, scaled.top, scaled.width, scaled.height,
                 flags);
  }
}

SIZE TForm1::outerSize(int dpi) const {
  // The client area the 96-DPI window had inside its frame.
  const SIZE frame = outerSizeForClient({0, 0}, kForm1Style, kForm1ExStyle, kLayoutDpi);
  const SIZE client{editor::kForm1Place.width - frame.cx, editor::kForm1Place.height - frame.cy};
  return outerSizeForClient({scaleToDpi(client.cx, dpi), scaleToDpi(client.cy, dpi)}, kForm1Style,
                            kForm1ExStyle, dpi);
}

void TForm1::placeWindow() {
  const SIZE size = outerSize(dpi_);
  const int left = scaleToDpi(editor::kForm1Place.left, dpi_);
  const int top = scaleToDpi(editor::kForm1Place.top, dpi_);
  const RECT shown = keptOnMonitor({left, top, left + size.cx, top + size.cy});
  SetWindowPos(window_, nullptr, shown.left, shown.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system suggests where the window goes on the new monitor; its size is
// the one WM_GETDPISCALEDSIZE gave, computed here again for systems that do
// not ask.
void TForm1::onDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  applyDpi(dpi);
  const SIZE size = outerSize(dpi);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TForm1::handleScalingMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_GETDPISCALEDSIZE:
      // The size the window will have at the new resolution, so that the
      // system suggests that size with WM_DPICHANGED.
      *reinterpret_cast<SIZE*>(lParam) = outerSize(static_cast<int>(wParam));
      result = TRUE;
      return true;
    case WM_GETMINMAXINFO: {
      // The whole layout may be larger than the screen at a high resolution.
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      const SIZE size = outerSize(dpi_);
      limits.ptMaxTrackSize.x = std::max(limits.ptMaxTrackSize.x, size.cx);
      limits.ptMaxTrackSize.y = std::max(limits.ptMaxTrackSize.y, size.cy);
      return true;
    }
    case WM_DPICHANGED:
      onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return true;
    default:
      return false;
  }
}

}  // namespace ws::app
