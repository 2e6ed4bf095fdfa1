// The own report window on POSIX: there is no window system, so the window's
// edit control is a text buffer that goes to standard output, and the
// message loop prints the rest of the report and ends at once.
#include "report_window.h"

int16_t QMRKCreateTextWindow(QHANDLE hInstance, const char* /*lpszWindowTitle*/,
                             const char* lpszHelpFile, const char* lpszHelpContext, uint16_t,
                             uint16_t, uint16_t, uint16_t, QHANDLE /*hIcon*/, int /*nCmdShow*/,
                             LPHLISTWINDOW_ARRAY_struct lpwnd_data, QMRKWndProcFn lpWndProc,
                             QMRKCallBack lpCallBack) {
  ReadFontChoice();
  InitialiseWindowRecord(lpwnd_data, hInstance, lpszHelpFile, lpszHelpContext, lpWndProc,
                         lpCallBack);
  QHANDLE edit = PlatCreateStdoutEdit();
  lpwnd_data->heditWnd = edit;
  lpwnd_data->hWnd = edit;
  lpwnd_data->wFlags = kWndClassRegistered | kWndEditCreated;
  return 1;
}

intptr_t QMRKExecute(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  PlatFlushStdoutEdit(lpwnd_data->heditWnd);
  return 0;
}

int QMRKCloseWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (lpwnd_data->wFlags & kWndClassRegistered) {
    PlatDestroyStdoutEdit(lpwnd_data->heditWnd);
    ResetWindowRecord(lpwnd_data);
  }
  WriteFontChoice();
  return 0;
}

intptr_t QMRKWndProc(QHANDLE, unsigned, uintptr_t, intptr_t, LPHLISTWINDOW_ARRAY_struct) {
  return 0;
}
