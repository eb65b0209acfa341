#pragma once

#include <windows.h>

namespace ws::app {

// A check list is an owner-drawn list box (LBS_OWNERDRAWFIXED with
// LBS_HASSTRINGS): the list box messages work on it unchanged, its items
// are 12 pixels high like every other list's, and each item's check mark is
// its item data (1 checked, 0 not), so that setting marks from code sends
// no notification at all. A click on an item's box, or the space bar on the
// selected item, asks the parent to toggle the mark (kCheckToggle); the
// parent decides and sets the marks it wants shown.

inline constexpr DWORD kCheckListStyle =
    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

// Width of the box at the left of each item, in pixels: the item's height
// and a margin, 14 for 12-pixel items, so that the box grows with the items
// on screens of a higher resolution.
int checkBoxWidth(HWND list);

// Lets the list ask its parent for toggles.
void makeCheckList(HWND list);

bool checkMark(HWND list, int item);
void setCheckMark(HWND list, int item, bool checked);

// Draws one item for WM_DRAWITEM: the box, then the text.
void drawCheckListItem(const DRAWITEMSTRUCT& item);

}  // namespace ws::app
