// The own report window on POSIX: there is no window system, so the window's
// edit control is a text buffer, and the message loop prints the report and
// ends at once.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "edit_posix.h"
#include "report_window.h"

namespace {
int default_font_is_small = 1;
}

int16_t QMRKCreateTextWindow(QHANDLE hInstance, const char* /*lpszWindowTitle*/,
                             const char* lpszHelpFile, const char* lpszHelpContext,
                             uint16_t, uint16_t, uint16_t, uint16_t, QHANDLE /*hIcon*/,
                             int /*nCmdShow*/, LPHLISTWINDOW_ARRAY_struct lpwnd_data,
                             QMRKWndProcFn lpWndProc, QMRKCallBack lpCallBack) {
  default_font_is_small = PlatGetProfileInt("QMRKWIN", "SmallFont", 1);
  lpwnd_data->wFlags = 0;
  lpwnd_data->hExtraData = nullptr;
  lpwnd_data->lpExtraData = nullptr;
  lpwnd_data->hFont = nullptr;
  lpwnd_data->hBrush = nullptr;
  lpwnd_data->crTextColor = 0x000000;
  lpwnd_data->crBkColor = 0xC0C0C0;
  lpwnd_data->hInstance = hInstance;
  lpwnd_data->lpCallBack = lpCallBack;
  lpwnd_data->lpWndProc = lpWndProc;
  lpwnd_data->iHTMLOutput = 0;
  snprintf(lpwnd_data->cHelpFileName, sizeof lpwnd_data->cHelpFileName, "%s",
           lpszHelpFile ? lpszHelpFile : "");
  snprintf(lpwnd_data->cHelpContext, sizeof lpwnd_data->cHelpContext, "%s",
           lpszHelpContext ? lpszHelpContext : "");
  snprintf(lpwnd_data->wndclassname, sizeof lpwnd_data->wndclassname, "QMRKWAPP");
  auto* edit = new EditControl;
  // A person at a terminal sees the columns lined up; a pipe gets the
  // control's text byte for byte.
  edit->streamTo = 1;
  edit->terminal = isatty(1);
  lpwnd_data->heditWnd = edit;
  lpwnd_data->hWnd = edit;
  lpwnd_data->wFlags = kWndClassRegistered | kWndEditCreated;
  return 1;
}

intptr_t QMRKExecute(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  auto* edit = static_cast<EditControl*>(lpwnd_data->heditWnd);
  if (!edit) return 0;
  StreamEditText(*edit, true);
  return 0;
}

int QMRKCloseWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (lpwnd_data->wFlags & kWndClassRegistered) {
    delete static_cast<EditControl*>(lpwnd_data->heditWnd);
    lpwnd_data->hWnd = nullptr;
    lpwnd_data->heditWnd = nullptr;
    lpwnd_data->hInstance = nullptr;
    lpwnd_data->lpCallBack = nullptr;
    lpwnd_data->wFlags = 0;
    lpwnd_data->cHelpFileName[0] = '\0';
    lpwnd_data->cHelpContext[0] = '\0';
    lpwnd_data->hExtraData = nullptr;
    lpwnd_data->lpExtraData = nullptr;
  }
  char value[16];
  snprintf(value, sizeof value, "%i", default_font_is_small);
  PlatWriteProfileString("QMRKWIN", "SmallFont", value);
  return 0;
}

intptr_t QMRKWndProc(QHANDLE, unsigned, uintptr_t, intptr_t, LPHLISTWINDOW_ARRAY_struct) {
  return 0;
}
