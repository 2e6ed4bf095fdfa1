// The report window: a frame window whose client area is a read-only
// multi-line edit control holding the report text, with the menu commands,
// the refill request of a second start, the font choice and the message loop.
// Log saving is in savelog_win32.cpp.
#include <windows.h>

#include <cstdio>

#include "int_str.h"
#include "report_window.h"
#include "string_ids.h"
#include "syslens.h"

int is95 = 0;
int default_font_is_small = 1;

namespace {

constexpr DWORD kEditStyle = 0x503018C4;  // child, visible, scroll bars, read-only multi-line
constexpr unsigned kNewShellVersion = 0x5F03;  // "3.95": major 3 in the low byte, minor 95
constexpr int kAnimateCaption = 3;             // IDANI_CAPTION
constexpr int kMenuId = 10;
constexpr int kAcceleratorId = 10;

using DrawAnimatedRectsFn = BOOL(WINAPI*)(HWND, int, const RECT*, const RECT*);

WNDCLASSA wndclass;
DrawAnimatedRectsFn lpDrawAnimatedRects = nullptr;
HACCEL hAccel = nullptr;

HWND Hwnd(QHANDLE handle) { return static_cast<HWND>(handle); }
HINSTANCE Hinst(QHANDLE handle) { return static_cast<HINSTANCE>(handle); }

void InitialiseRecord(LPHLISTWINDOW_ARRAY_struct lpwnd_data, QHANDLE hInstance,
                      const char* lpszHelpFile, const char* lpszHelpContext,
                      QMRKWndProcFn lpWndProc, QMRKCallBack lpCallBack) {
  lpwnd_data->hWnd = nullptr;
  lpwnd_data->heditWnd = nullptr;
  lpwnd_data->wFlags = 0;
  lpwnd_data->wndclassname[0] = '\0';
  lpwnd_data->cHelpFileName[0] = '\0';
  lpwnd_data->cHelpContext[0] = '\0';
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
  if (lpszHelpFile) {
    snprintf(lpwnd_data->cHelpFileName, sizeof lpwnd_data->cHelpFileName, "%s", lpszHelpFile);
  }
  if (lpszHelpContext) {
    snprintf(lpwnd_data->cHelpContext, sizeof lpwnd_data->cHelpContext, "%s", lpszHelpContext);
  }
  snprintf(lpwnd_data->wndclassname, sizeof lpwnd_data->wndclassname, "QMRKWAPP");
}

// The opening is animated from the host's rectangle only on the newer shell,
// and only when the 16-bit USER module offers the routine.
void AnimateOpening(HWND frame) {
  if (!is95 || !iAnimateOpen) return;
  lpDrawAnimatedRects = nullptr;
  if (HMODULE user = GetModuleHandleA("USER")) {
    lpDrawAnimatedRects = reinterpret_cast<DrawAnimatedRectsFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "DRAWANIMATEDRECTS")));
  }
  if (!lpDrawAnimatedRects) return;
  const RECT from = {wIconSrcX, wIconSrcY, wIconSrcX2, wIconSrcY2};
  RECT to;
  GetWindowRect(frame, &to);
  lpDrawAnimatedRects(GetDesktopWindow(), kAnimateCaption, &from, &to);
}

void ShowNextVersionMessage(HWND owner) {
  MessageBoxA(owner, lpszLoadString(kIdNotYetSupported), "", MB_OK | MB_ICONINFORMATION);
}

void OnCommand(HWND frame, LPHLISTWINDOW_ARRAY_struct lpwnd_data, WPARAM wParam) {
  HWND edit = Hwnd(lpwnd_data->heditWnd);
  // EN_MAXTEXT is how today's edit controls report that the text reached
  // the control's limit (EN_ERRSPACE only when memory runs out); both mean
  // the report no longer fits, so both stop further appends.
  if (LOWORD(wParam) == kReportEditId &&
      (HIWORD(wParam) == EN_ERRSPACE || HIWORD(wParam) == EN_MAXTEXT)) {
    MessageBoxA(frame, lpszLoadString(kIdErrEditFull), nullptr, MB_OK | MB_ICONERROR);
    iEditOutOfSpace = 1;
  }
  switch (LOWORD(wParam)) {
    case kCmdExit: PostMessageA(frame, WM_CLOSE, 0, 0); break;
    case kCmdCopy: SendMessageA(edit, WM_COPY, 0, 0); break;
    case kCmdNextVersion1:
    case kCmdNextVersion2:
    case kCmdHelp: ShowNextVersionMessage(frame); break;
    case kCmdAbout:
      MessageBoxA(frame, lpszLoadString(kIdAboutText), lpszLoadString(kIdAboutTitle), MB_OK | MB_ICONINFORMATION);
      break;
    case kCmdSmallFont:
    case kCmdLargeFont:
      default_font_is_small = LOWORD(wParam) == kCmdSmallFont ? 1 : 0;
      Update_Font(lpwnd_data);
      Set_Font_Check_Mark(lpwnd_data);
      break;
    case kCmdSaveAs: SaveLog(lpwnd_data); break;
    case kCmdRefresh:
      SendMessageA(frame, WM_USER, kRefillWParam, kRefillLParam);
      SendMessageA(edit, EM_SETSEL, 0, 0);
      break;
    default: break;
  }
}

void Refill(HWND frame, LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (IsIconic(frame)) {
    ShowWindow(frame, SW_SHOWNORMAL);
  } else if (!IsZoomed(frame)) {
    ShowWindow(frame, SW_SHOW);
  }
  QMRKClearWindow(lpwnd_data);
  if (lpwnd_data->lpCallBack) lpwnd_data->lpCallBack(1, 0, 0);
  SendMessageA(Hwnd(lpwnd_data->heditWnd), EM_SETSEL, 0, 0);
}

}  // namespace

int Is95FromVersion(uint32_t dwVersion) { return (dwVersion & 0xFFFFu) == kNewShellVersion; }

void ReportWindowExStyles(int newShell, uint32_t* frameExStyle, uint32_t* editExStyle) {
  *frameExStyle = newShell ? WS_EX_APPWINDOW : 0;
  *editExStyle = newShell ? WS_EX_CLIENTEDGE : 0;
}

QHANDLE CreateOurFont(int /*makeitsmall*/, int /*defaultresource*/) {
  // Both sizes use the proportional ANSI font; the tab stops of the report
  // are computed from whatever font the control holds.
  return GetStockObject(ANSI_VAR_FONT);
}

void Update_Font(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (lpwnd_data->hFont) DeleteObject(lpwnd_data->hFont);  // stock fonts ignore this
  lpwnd_data->hFont = CreateOurFont(default_font_is_small,
                                    default_font_is_small ? OEM_FIXED_FONT : SYSTEM_FIXED_FONT);
  SendMessageA(Hwnd(lpwnd_data->heditWnd), WM_SETFONT,
               reinterpret_cast<WPARAM>(lpwnd_data->hFont), TRUE);
}

void Set_Font_Check_Mark(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  // The shipped menus have neither item; CheckMenuItem then does nothing.
  HMENU menu = GetMenu(Hwnd(lpwnd_data->hWnd));
  if (!menu) return;
  CheckMenuItem(menu, kCmdSmallFont,
                MF_BYCOMMAND | (default_font_is_small ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, kCmdLargeFont,
                MF_BYCOMMAND | (default_font_is_small ? MF_UNCHECKED : MF_CHECKED));
}

int16_t QMRKCreateTextWindow(QHANDLE hInstance, const char* lpszWindowTitle,
                             const char* lpszHelpFile, const char* lpszHelpContext,
                             uint16_t wOriginX, uint16_t wOriginY, uint16_t wExtentX,
                             uint16_t wExtentY, QHANDLE hIcon, int nCmdShow,
                             LPHLISTWINDOW_ARRAY_struct lpwnd_data, QMRKWndProcFn lpWndProc,
                             QMRKCallBack lpCallBack) {
  is95 = Is95FromVersion(GetVersion());
  default_font_is_small = GetProfileIntA("QMRKWIN", "SmallFont", 1);
  if (lpszWindowTitle) {
    if (HWND other = FindWindowA(nullptr, lpszWindowTitle)) {
      PostMessageA(other, WM_USER, kRefillWParam, kRefillLParam);
      return -1;
    }
  }
  InitialiseRecord(lpwnd_data, hInstance, lpszHelpFile, lpszHelpContext, lpWndProc, lpCallBack);

  wndclass = WNDCLASSA{};
  wndclass.style = CS_HREDRAW | CS_VREDRAW;
  wndclass.lpfnWndProc = reinterpret_cast<WNDPROC>(lpWndProc);
  wndclass.hInstance = Hinst(hInstance);
  wndclass.hIcon = static_cast<HICON>(hIcon);
  wndclass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wndclass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wndclass.lpszMenuName = MAKEINTRESOURCEA(GetMenuId(kMenuId));
  wndclass.lpszClassName = lpwnd_data->wndclassname;
  if (!RegisterClassA(&wndclass)) {
    MessageBoxA(nullptr, lpszLoadString(kIdErrWindowClass), nullptr, MB_OK | MB_ICONINFORMATION);
    return -1;
  }

  uint32_t frameExStyle = 0;
  uint32_t editExStyle = 0;
  ReportWindowExStyles(is95, &frameExStyle, &editExStyle);
  lpwnd_data->wFlags |= kWndClassRegistered | kWndFrameCreating;
  const int screenX = GetSystemMetrics(SM_CXSCREEN);
  const int screenY = GetSystemMetrics(SM_CYSCREEN);
  HWND frame = CreateWindowExA(frameExStyle, lpwnd_data->wndclassname, lpszWindowTitle,
                               WS_OVERLAPPEDWINDOW, wOriginX ? wOriginX : screenX / 3,
                               wOriginY ? wOriginY : screenY / 3,
                               wExtentX ? wExtentX : screenX * 2 / 3,
                               wExtentY ? wExtentY : screenY * 2 / 3, nullptr, nullptr,
                               Hinst(hInstance), nullptr);
  lpwnd_data->wFlags &= static_cast<uint16_t>(~kWndFrameCreating);
  if (!frame) {
    lpwnd_data->wFlags = 0;
    UnregisterClassA(lpwnd_data->wndclassname, Hinst(hInstance));
    MessageBoxA(nullptr, lpszLoadString(kIdErrMainWindow), nullptr, MB_OK | MB_ICONINFORMATION);
    return -1;
  }
  lpwnd_data->hWnd = frame;

  RECT client;
  GetClientRect(frame, &client);
  HWND edit = CreateWindowExA(editExStyle, "edit", "", kEditStyle, 0, 0, client.right,
                              client.bottom, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReportEditId)),
                              Hinst(hInstance), nullptr);
  if (!edit) {
    MessageBoxA(nullptr, lpszLoadString(kIdErrListWindow), nullptr, MB_OK | MB_ICONINFORMATION);
    QMRKCloseWindow(lpwnd_data);
    return -1;
  }
  lpwnd_data->heditWnd = edit;
  lpwnd_data->wFlags |= kWndEditCreated;
  // A server's tables give far more text than the control's default limit
  // (30000 to 64K characters): 0 asks for the largest limit the system has.
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);

  Update_Font(lpwnd_data);
  Set_Font_Check_Mark(lpwnd_data);
  AnimateOpening(frame);
  ShowWindow(frame, nCmdShow);
  UpdateWindow(frame);
  hAccel = LoadAcceleratorsA(Hinst(hInstance), MAKEINTRESOURCEA(GetAcceleratorId(kAcceleratorId)));
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
      // Sent once while the frame is created, before the edit control exists.
      if (edit) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (edit) SetFocus(edit);
      return 0;
    case WM_SETCURSOR:
      if (edit && reinterpret_cast<HWND>(wParam) == edit) {
        HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
        if (GetCursor() != arrow) SetCursor(arrow);
        return TRUE;
      }
      return DefWindowProcA(frame, message, wParam, lParam);
    case WM_COMMAND:
      OnCommand(frame, lpwnd_data, wParam);
      return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, lpwnd_data->crBkColor);
      SetTextColor(dc, lpwnd_data->crTextColor);
      return reinterpret_cast<intptr_t>(lpwnd_data->hBrush);
    }
    case WM_USER:
      if (wParam == kRefillWParam && lParam == kRefillLParam) Refill(frame, lpwnd_data);
      return 0;
    default:
      return DefWindowProcA(frame, message, wParam, lParam);
  }
}

intptr_t QMRKExecute(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  SendMessageA(Hwnd(lpwnd_data->heditWnd), EM_SETSEL, 0, 0);
  // A translated key is sent as WM_COMMAND to the window named here. Keys
  // reach the edit control, which ignores commands, so the frame is named:
  // that is where Copy and F1 are handled.
  HWND frame = Hwnd(lpwnd_data->hWnd);
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(frame, hAccel, &msg)) {
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
    UnregisterClassA(lpwnd_data->wndclassname, Hinst(lpwnd_data->hInstance));
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
