#include "app_win32/check_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "app_win32/control_notifications.h"

namespace ws::app {
namespace {

constexpr UINT_PTR kSubclassId = 1;

void askToggle(HWND list, int item) {
  if (item < 0 || item >= static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0))) return;
  NotifyItem notification{};
  notification.header.hwndFrom = list;
  notification.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  notification.header.code = kCheckToggle;
  notification.item = item;
  SendMessageW(GetParent(list), WM_NOTIFY, notification.header.idFrom,
               reinterpret_cast<LPARAM>(&notification));
}

LRESULT CALLBACK checkListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The list selects the item first, as for any click.
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      const int x = GET_X_LPARAM(lParam);
      const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
      if (HIWORD(hit) == 0 && x >= 0 && x < checkBoxWidth(list)) askToggle(list, LOWORD(hit));
      return result;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        askToggle(list, static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L' ') return 0;  // the space bar toggles; it searches nothing
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, &checkListProc, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

int checkBoxWidth(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)) + 2;
}

void makeCheckList(HWND list) {
  SetWindowSubclass(list, &checkListProc, kSubclassId, 0);
}

bool checkMark(HWND list, int item) {
  return SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(item), 0) == 1;
}

void setCheckMark(HWND list, int item, bool checked) {
  if (checkMark(list, item) == checked) return;
  SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(item), checked ? 1 : 0);
  RECT area{};
  if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item),
                   reinterpret_cast<LPARAM>(&area)) != LB_ERR) {
    InvalidateRect(list, &area, FALSE);
  }
}

void drawCheckListItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) {  // an empty list with the focus
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT area = item.rcItem;
  FillRect(item.hDC, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  const int boxSize = area.bottom - area.top - 2;
  RECT box{area.left + 1, area.top + 1, area.left + 1 + boxSize, area.top + 1 + boxSize};
  UINT boxState = DFCS_BUTTONCHECK | DFCS_FLAT;
  if (item.itemData == 1) boxState |= DFCS_CHECKED;
  DrawFrameControl(item.hDC, &box, DFC_BUTTON, boxState);

  const auto length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  if (length > 0) {
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    RECT textArea = area;
    textArea.left += boxSize + 4;  // checkBoxWidth: the box and its margins
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace ws::app
