// The report window: a frame window whose client area is a read-only
// multi-line edit control holding the report text.
#include <windows.h>

#include <cstdio>

#include "int_str.h"
#include "report_window.h"

namespace {

constexpr int kEditControlId = 111;
constexpr DWORD kEditStyle = 0x503018C4;  // child, visible, scroll bars, read-only multi-line
constexpr WPARAM kRefillWParam = 12345;
constexpr LPARAM kRefillLParam = 1234567;

constexpr WORD kCmdExit = 101;
constexpr WORD kCmdCopy = 102;
constexpr WORD kCmdRefresh = 109;

HACCEL hAccel = nullptr;
int default_font_is_small = 1;

HWND Hwnd(QHANDLE handle) { return static_cast<HWND>(handle); }

}  // namespace

int16_t QMRKCreateTextWindow(QHANDLE hInstance, const char* lpszWindowTitle,
                             const char* lpszHelpFile, const char* lpszHelpContext,
                             uint16_t wOriginX, uint16_t wOriginY, uint16_t wExtentX,
                             uint16_t wExtentY, QHANDLE hIcon, int nCmdShow,
                             LPHLISTWINDOW_ARRAY_struct lpwnd_data, QMRKWndProcFn lpWndProc,
                             QMRKCallBack lpCallBack) {
  default_font_is_small = GetProfileIntA("QMRKWIN", "SmallFont", 1);
  if (lpszWindowTitle) {
    if (HWND other = FindWindowA(nullptr, lpszWindowTitle)) {
      PostMessageA(other, WM_USER, kRefillWParam, kRefillLParam);
      return -1;
    }
  }
  lpwnd_data->hWnd = nullptr;
  lpwnd_data->heditWnd = nullptr;
  lpwnd_data->wFlags = 0;
  lpwnd_data->hExtraData = nullptr;
  lpwnd_data->lpExtraData = nullptr;
  lpwnd_data->hFont = nullptr;
  lpwnd_data->crTextColor = 0x000000;
  lpwnd_data->hInstance = hInstance;
  lpwnd_data->lpCallBack = lpCallBack;
  lpwnd_data->lpWndProc = lpWndProc;
  lpwnd_data->crBkColor = 0xC0C0C0;
  lpwnd_data->hBrush = CreateSolidBrush(lpwnd_data->crBkColor);
  lpwnd_data->iHTMLOutput = 0;
  snprintf(lpwnd_data->cHelpFileName, sizeof lpwnd_data->cHelpFileName, "%s",
           lpszHelpFile ? lpszHelpFile : "");
  snprintf(lpwnd_data->cHelpContext, sizeof lpwnd_data->cHelpContext, "%s",
           lpszHelpContext ? lpszHelpContext : "");
  snprintf(lpwnd_data->wndclassname, sizeof lpwnd_data->wndclassname, "QMRKWAPP");

  WNDCLASSA wndclass = {};
  wndclass.style = CS_HREDRAW | CS_VREDRAW;
  wndclass.lpfnWndProc = reinterpret_cast<WNDPROC>(lpWndProc);
  wndclass.hInstance = static_cast<HINSTANCE>(hInstance);
  wndclass.hIcon = static_cast<HICON>(hIcon);
  wndclass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wndclass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wndclass.lpszMenuName = MAKEINTRESOURCEA(GetMenuId(10));
  wndclass.lpszClassName = lpwnd_data->wndclassname;
  if (!RegisterClassA(&wndclass)) {
    MessageBoxA(nullptr, lpszLoadString(3951), nullptr, MB_OK | MB_ICONINFORMATION);
    return -1;
  }
  lpwnd_data->wFlags |= kWndClassRegistered | kWndFrameCreating;
  const int screenX = GetSystemMetrics(SM_CXSCREEN);
  const int screenY = GetSystemMetrics(SM_CYSCREEN);
  HWND frame = CreateWindowExA(0, lpwnd_data->wndclassname, lpszWindowTitle, WS_OVERLAPPEDWINDOW,
                               wOriginX ? wOriginX : screenX / 3, wOriginY ? wOriginY : screenY / 3,
                               wExtentX ? wExtentX : screenX * 2 / 3,
                               wExtentY ? wExtentY : screenY * 2 / 3, nullptr, nullptr,
                               static_cast<HINSTANCE>(hInstance), nullptr);
  lpwnd_data->wFlags &= static_cast<uint16_t>(~kWndFrameCreating);
  if (!frame) {
    lpwnd_data->wFlags = 0;
    UnregisterClassA(lpwnd_data->wndclassname, static_cast<HINSTANCE>(hInstance));
    MessageBoxA(nullptr, lpszLoadString(3952), nullptr, MB_OK | MB_ICONINFORMATION);
    return -1;
  }
  lpwnd_data->hWnd = frame;
  RECT client;
  GetClientRect(frame, &client);
  HWND edit = CreateWindowExA(0, "edit", "", kEditStyle, 0, 0, client.right, client.bottom, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditControlId)),
                              static_cast<HINSTANCE>(hInstance), nullptr);
  if (!edit) {
    MessageBoxA(nullptr, lpszLoadString(3953), nullptr, MB_OK | MB_ICONINFORMATION);
    QMRKCloseWindow(lpwnd_data);
    return -1;
  }
  lpwnd_data->heditWnd = edit;
  lpwnd_data->wFlags |= kWndEditCreated;
  lpwnd_data->hFont = GetStockObject(ANSI_VAR_FONT);
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(lpwnd_data->hFont), TRUE);
  ShowWindow(frame, nCmdShow);
  UpdateWindow(frame);
  hAccel = LoadAcceleratorsA(static_cast<HINSTANCE>(hInstance),
                             MAKEINTRESOURCEA(GetAcceleratorId(10)));
  return 1;
}

intptr_t QMRKWndProc(QHANDLE hWnd, unsigned message, uintptr_t wParam, intptr_t lParam,
                     LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  HWND frame = Hwnd(hWnd);
  HWND edit = Hwnd(lpwnd_data->heditWnd);
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      if (edit) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (edit) SetFocus(edit);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditControlId && HIWORD(wParam) == EN_ERRSPACE) {
        MessageBoxA(frame, lpszLoadString(3957), nullptr, MB_OK | MB_ICONERROR);
        iEditOutOfSpace = 1;
      }
      switch (LOWORD(wParam)) {
        case kCmdExit: PostMessageA(frame, WM_CLOSE, 0, 0); break;
        case kCmdCopy: SendMessageA(edit, WM_COPY, 0, 0); break;
        case kCmdRefresh:
          SendMessageA(frame, WM_USER, kRefillWParam, kRefillLParam);
          SendMessageA(edit, EM_SETSEL, 0, 0);
          break;
        default: break;
      }
      return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, lpwnd_data->crBkColor);
      SetTextColor(dc, lpwnd_data->crTextColor);
      return reinterpret_cast<intptr_t>(lpwnd_data->hBrush);
    }
    case WM_USER:
      if (wParam == kRefillWParam && lParam == kRefillLParam) {
        if (IsIconic(frame)) {
          ShowWindow(frame, SW_SHOWNORMAL);
        } else if (!IsZoomed(frame)) {
          ShowWindow(frame, SW_SHOW);
        }
        QMRKClearWindow(lpwnd_data);
        if (lpwnd_data->lpCallBack) lpwnd_data->lpCallBack(1, 0, 0);
        SendMessageA(edit, EM_SETSEL, 0, 0);
      }
      return 0;
    default:
      return DefWindowProcA(frame, message, wParam, lParam);
  }
}

intptr_t QMRKExecute(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  SendMessageA(Hwnd(lpwnd_data->heditWnd), EM_SETSEL, 0, 0);
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(msg.hwnd, hAccel, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<intptr_t>(msg.wParam);
}

int QMRKCloseWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (lpwnd_data->wFlags & kWndClassRegistered) {
    if (lpwnd_data->hWnd && IsWindow(Hwnd(lpwnd_data->hWnd))) DestroyWindow(Hwnd(lpwnd_data->hWnd));
    if (lpwnd_data->hBrush) DeleteObject(lpwnd_data->hBrush);
    if (lpwnd_data->hFont) DeleteObject(lpwnd_data->hFont);
    lpwnd_data->hBrush = nullptr;
    lpwnd_data->hFont = nullptr;
    UnregisterClassA(lpwnd_data->wndclassname, static_cast<HINSTANCE>(lpwnd_data->hInstance));
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
  WriteProfileStringA("QMRKWIN", "SmallFont", value);
  return 0;
}
