// The own report window on Win32, as the viewer sees it: fills the platform
// window's record from the report's strings, resource ids, the host's
// opening rectangle and the report record, and keeps the report record's
// handles in step with the window's. The window itself is in
// platform/win32/report_window_win32.cpp.
#include <array>

#include "int_str.h"
#include "invocation.h"
#include "report_window.h"
#include "string_ids.h"

namespace {

constexpr int kMenuId = 10;
constexpr int kAcceleratorId = 10;

// String of each window text, in PlatWindowText's order.
constexpr std::array<unsigned, 10> kWindowTextIds = {
    kIdNotYetSupported, kIdErrEditFull,   kIdAboutText,  kIdAboutTitle,      kIdErrWindowClass,
    kIdErrMainWindow,   kIdErrListWindow, kIdSaveFilter, kIdSaveClosingLine, kIdErrSaveFailed,
};
static_assert(static_cast<size_t>(PlatWindowText::SaveFailed) + 1 == kWindowTextIds.size());

// One report window per process.
PlatReportWindow window;

const char* WindowText(PlatWindowText which) {
  return lpszLoadString(kWindowTextIds[static_cast<size_t>(which)]);
}

LPHLISTWINDOW_ARRAY_struct Record(void* owner) {
  return static_cast<LPHLISTWINDOW_ARRAY_struct>(owner);
}

void ClearReport(void* owner) { QMRKClearWindow(Record(owner)); }

void RefillReport(void* owner) {
  if (Record(owner)->lpCallBack) Record(owner)->lpCallBack(1, 0, 0);
}

void StopAppending(void*) { iEditOutOfSpace = 1; }

// The window's handles and state as the report record holds them.
void CopyBack(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  lpwnd_data->hWnd = window.frame;
  lpwnd_data->heditWnd = window.edit;
  lpwnd_data->hBrush = window.brush;
  lpwnd_data->hFont = window.font;
  lpwnd_data->wFlags = window.flags;
}

}  // namespace

int16_t QMRKCreateTextWindow(QHANDLE hInstance, const char* lpszWindowTitle,
                             const char* lpszHelpFile, const char* lpszHelpContext,
                             uint16_t wOriginX, uint16_t wOriginY, uint16_t wExtentX,
                             uint16_t wExtentY, QHANDLE hIcon, int nCmdShow,
                             LPHLISTWINDOW_ARRAY_struct lpwnd_data, QMRKWndProcFn lpWndProc,
                             QMRKCallBack lpCallBack) {
  ReadFontChoice();
  if (PlatRefillOpenReportWindow(lpszWindowTitle)) return -1;
  InitialiseWindowRecord(lpwnd_data, hInstance, lpszHelpFile, lpszHelpContext, lpWndProc,
                         lpCallBack);
  window = PlatReportWindow{};
  window.instance = hInstance;
  window.className = lpwnd_data->wndclassname;
  window.textColor = lpwnd_data->crTextColor;
  window.bkColor = lpwnd_data->crBkColor;
  window.menuId = GetMenuId(kMenuId);
  window.acceleratorId = GetAcceleratorId(kAcceleratorId);
  window.animateOpen = iAnimateOpen;
  window.fromX = wIconSrcX;
  window.fromY = wIconSrcY;
  window.fromX2 = wIconSrcX2;
  window.fromY2 = wIconSrcY2;
  window.smallFont = &default_font_is_small;
  window.owner = lpwnd_data;
  window.text = WindowText;
  window.clear = ClearReport;
  window.refill = RefillReport;
  window.editFull = StopAppending;
  const int16_t created = PlatCreateReportWindow(&window, lpszWindowTitle, wOriginX, wOriginY,
                                                 wExtentX, wExtentY, hIcon, nCmdShow, lpWndProc);
  CopyBack(lpwnd_data);
  if (created != 1 && (lpwnd_data->wFlags & kWndClassRegistered)) QMRKCloseWindow(lpwnd_data);
  return created;
}

intptr_t QMRKWndProc(QHANDLE hWnd, unsigned message, uintptr_t wParam, intptr_t lParam,
                     LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  const intptr_t result = PlatReportWindowProc(&window, hWnd, message, wParam, lParam);
  lpwnd_data->hFont = window.font;  // the font commands replace it
  return result;
}

intptr_t QMRKExecute(LPHLISTWINDOW_ARRAY_struct) { return PlatRunReportWindow(&window); }

int QMRKCloseWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (lpwnd_data->wFlags & kWndClassRegistered) {
    PlatCloseReportWindow(&window);
    lpwnd_data->hBrush = nullptr;
    lpwnd_data->hFont = nullptr;
    ResetWindowRecord(lpwnd_data);
  }
  WriteFontChoice();
  return 0;
}

int WriteLogFile(LPHLISTWINDOW_ARRAY_struct, const char* lpszPath) {
  return PlatWriteReportLog(&window, lpszPath);
}
