// Where the window's controls sit at 96 DPI, written out from the window's
// description rather than read from the layout the windows use, so that a
// wrong number there shows up as a failure here.
#pragma once

namespace ws::testing {

struct WindowPlace {
  const char* name;
  const char* parent;  // "Form1": the window's client area
  int left, top, width, height;
  bool visibleAtStart;
  // Shows whole items only: its height may come out up to one item short.
  bool wholeItems = false;
};

inline constexpr WindowPlace kWindowPlaces[] = {
    {"ScrollBox1", "Form1", 16, 8, 324, 276, true},
    {"Image2", "ScrollBox1", 0, 0, 512, 256, true},
    {"Image1", "Form1", 352, 8, 256, 128, true},
    {"Panel1", "Form1", 352, 144, 257, 131, true},
    {"Label1", "Panel1", 160, 8, 24, 12, true},
    {"RadioButton1", "Panel1", 8, 40, 97, 17, true},
    {"RadioButton2", "Panel1", 8, 64, 89, 17, true},
    {"RadioButton3", "Panel1", 8, 88, 89, 17, true},
    {"CheckListBox1", "Panel1", 112, 24, 137, 97, true},
    {"CheckListBox2", "Panel1", 112, 24, 137, 97, false},
    {"CheckListBox3", "Form1", 216, 360, 121, 73, false},
    {"ListBox1", "Form1", 352, 288, 257, 160, true, true},
    {"ListBox2", "Form1", 216, 296, 121, 52, true, true},
    {"Label2", "Form1", 24, 304, 60, 12, true},
    {"Edit1", "Form1", 24, 320, 161, 20, true},
    {"Button1", "Form1", 16, 408, 75, 25, true},
    {"Button2", "Form1", 96, 408, 75, 25, true},
};

// The window itself on the screen, its outer frame included.
inline constexpr int kForm1Left = 284;
inline constexpr int kForm1Top = 105;
inline constexpr int kForm1Width = 641;
inline constexpr int kForm1Height = 480;

// The order in which Tab visits the controls.
inline constexpr const char* kTabOrder[] = {"Button1",       "ListBox1",      "ScrollBox1",
                                            "Button2",       "CheckListBox1", "RadioButton1",
                                            "RadioButton2",  "RadioButton3",  "CheckListBox2",
                                            "CheckListBox3", "Edit1",         "ListBox2"};

}  // namespace ws::testing
