#pragma once

#include <array>
#include <string_view>

namespace ws::editor {

// Where the window and its controls sit, in pixels, for every front-end:
// positions are left and top within the parent's client area.
struct ControlPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The window itself, outer frame included, on the screen.
inline constexpr ControlPlace kForm1Place{284, 105, 641, 480};

inline constexpr ControlPlace kScrollBox1Place{16, 8, 324, 276};
inline constexpr ControlPlace kImage1Place{352, 8, 256, 128};
inline constexpr ControlPlace kPanel1Place{352, 144, 257, 131};
// Within Panel1.
inline constexpr ControlPlace kLabel1Place{160, 8, 24, 12};
inline constexpr ControlPlace kRadioButton1Place{8, 40, 97, 17};
inline constexpr ControlPlace kRadioButton2Place{8, 64, 89, 17};
inline constexpr ControlPlace kRadioButton3Place{8, 88, 89, 17};
inline constexpr ControlPlace kCheckListBox1Place{112, 24, 137, 97};
inline constexpr ControlPlace kCheckListBox2Place{112, 24, 137, 97};
// Back in the window.
inline constexpr ControlPlace kCheckListBox3Place{216, 360, 121, 73};
inline constexpr ControlPlace kListBox1Place{352, 288, 257, 160};
inline constexpr ControlPlace kListBox2Place{216, 296, 121, 52};
inline constexpr ControlPlace kLabel2Place{24, 304, 60, 12};
inline constexpr ControlPlace kEdit1Place{24, 320, 161, 20};
inline constexpr ControlPlace kButton1Place{16, 408, 75, 25};
inline constexpr ControlPlace kButton2Place{96, 408, 75, 25};

// Every list and check list shows 12-pixel items; the window's font is
// 12 pixels high.
inline constexpr int kListItemHeight = 12;
inline constexpr int kFontPixelHeight = 12;
// The 128 x 64 preview is shown at twice its size, without smoothing.
inline constexpr int kPreviewScale = 2;

// The order in which the keyboard focus moves; CheckListBox1 to
// CheckListBox2 lie inside Panel1.
inline constexpr std::array<std::string_view, 12> kTabOrder{
    "Button1",       "ListBox1",      "ScrollBox1",   "Button2",
    "CheckListBox1", "RadioButton1",  "RadioButton2", "RadioButton3",
    "CheckListBox2", "CheckListBox3", "Edit1",        "ListBox2"};

}  // namespace ws::editor
