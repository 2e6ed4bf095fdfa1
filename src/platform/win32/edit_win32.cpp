// The edit control that holds the report text: the report window's own, or
// the host program's control named on the command line (W=), which may live
// in another process; the system carries these messages across.
#include <windows.h>

#include "message_width.h"
#include "platform.h"

namespace {
HWND Edit(QHANDLE handle) { return static_cast<HWND>(handle); }
}  // namespace

bool PlatEditAppend(QHANDLE handle, const char* text) {
  HWND edit = Edit(handle);
  const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
  return true;
}

void PlatEditClear(QHANDLE handle) { SetWindowTextA(Edit(handle), ""); }

size_t PlatEditTextLength(QHANDLE handle) {
  return static_cast<size_t>(SendMessageA(Edit(handle), WM_GETTEXTLENGTH, 0, 0));
}

bool PlatEditAverageCharWidth(QHANDLE handle, int* width) {
  HWND edit = Edit(handle);
  HDC dc = GetDC(edit);
  if (!dc) return false;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0));
  if (!font) font = GetStockObject(SYSTEM_FONT);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  *width = metrics.tmAveCharWidth;
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  return true;
}

int PlatDialogBaseUnitWidth() { return LOWORD(GetDialogBaseUnits()); }

void PlatEditSetTabStops(QHANDLE handle, int count, const int* dialogUnits) {
  SendMessageA(Edit(handle), EM_SETTABSTOPS, static_cast<WPARAM>(count),
               reinterpret_cast<LPARAM>(dialogUnits));
}

void PlatEditInvalidate(QHANDLE handle) { InvalidateRect(Edit(handle), nullptr, TRUE); }

void PlatEditSetRedraw(QHANDLE handle, bool redraw) {
  SendMessageA(Edit(handle), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) InvalidateRect(Edit(handle), nullptr, TRUE);
}

QHANDLE PlatAttachHostEdit(uint32_t id) { return reinterpret_cast<HWND>(WidenHandleBits(id)); }

void PlatReleaseHostEdit(QHANDLE) {}
