// The report window: a frame window whose client area is a read-only
// multi-line edit control holding the report text, with the menu commands,
// the refill request of a second start, the font choice and the message loop.
// Log saving is in savelog_win32.cpp. The texts, resource ids and the
// actions on the report come from the viewer through the PlatReportWindow.
#include <windows.h>

#include "plat_report_window.h"

int is95 = 0;

namespace {

constexpr DWORD kEditStyle = 0x503018C4;       // child, visible, scroll bars, read-only multi-line
constexpr unsigned kNewShellVersion = 0x5F03;  // "3.95": major 3 in the low byte, minor 95
constexpr int kAnimateCaption = 3;             // IDANI_CAPTION

using DrawAnimatedRectsFn = BOOL(WINAPI*)(HWND, int, const RECT*, const RECT*);

WNDCLASSA wndclass;
DrawAnimatedRectsFn lpDrawAnimatedRects = nullptr;
HACCEL hAccel = nullptr;

HWND Hwnd(QHANDLE handle) { return static_cast<HWND>(handle); }
HINSTANCE Hinst(QHANDLE handle) { return static_cast<HINSTANCE>(handle); }

// The opening is animated from the host's rectangle only on the newer shell,
// and only when the 16-bit USER module offers the routine.
void AnimateOpening(const PlatReportWindow* w, HWND frame) {
  if (!is95 || !w->animateOpen) return;
  lpDrawAnimatedRects = nullptr;
  if (HMODULE user = GetModuleHandleA("USER")) {
    lpDrawAnimatedRects = reinterpret_cast<DrawAnimatedRectsFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "DRAWANIMATEDRECTS")));
  }
  if (!lpDrawAnimatedRects) return;
  const RECT from = {w->fromX, w->fromY, w->fromX2, w->fromY2};
  RECT to;
  GetWindowRect(frame, &to);
  lpDrawAnimatedRects(GetDesktopWindow(), kAnimateCaption, &from, &to);
}

void ShowNextVersionMessage(const PlatReportWindow* w, HWND owner) {
  MessageBoxA(owner, w->text(PlatWindowText::NotYetSupported), "", MB_OK | MB_ICONINFORMATION);
}

void UpdateFont(PlatReportWindow* w) {
  if (w->font) DeleteObject(w->font);  // stock fonts ignore this
  // Both sizes use the proportional ANSI font; the tab stops of the report
  // are computed from whatever font the control holds.
  w->font = GetStockObject(ANSI_VAR_FONT);
  SendMessageA(Hwnd(w->edit), WM_SETFONT, reinterpret_cast<WPARAM>(w->font), TRUE);
}

void SetFontCheckMark(const PlatReportWindow* w) {
  // The shipped menus have neither item; CheckMenuItem then does nothing.
  HMENU menu = GetMenu(Hwnd(w->frame));
  if (!menu) return;
  const bool smallSize = *w->smallFont != 0;
  CheckMenuItem(menu, kCmdSmallFont, MF_BYCOMMAND | (smallSize ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, kCmdLargeFont, MF_BYCOMMAND | (smallSize ? MF_UNCHECKED : MF_CHECKED));
}

void OnCommand(HWND frame, PlatReportWindow* w, WPARAM wParam) {
  HWND edit = Hwnd(w->edit);
  // EN_MAXTEXT is how today's edit controls report that the text reached
  // the control's limit (EN_ERRSPACE only when memory runs out); both mean
  // the report no longer fits, so both stop further appends.
  if (LOWORD(wParam) == kReportEditId &&
      (HIWORD(wParam) == EN_ERRSPACE || HIWORD(wParam) == EN_MAXTEXT)) {
    MessageBoxA(frame, w->text(PlatWindowText::EditFull), nullptr, MB_OK | MB_ICONERROR);
    w->editFull(w->owner);
  }
  switch (LOWORD(wParam)) {
    case kCmdExit: PostMessageA(frame, WM_CLOSE, 0, 0); break;
    case kCmdCopy: SendMessageA(edit, WM_COPY, 0, 0); break;
    case kCmdNextVersion1:
    case kCmdNextVersion2:
    case kCmdHelp: ShowNextVersionMessage(w, frame); break;
    case kCmdAbout:
      MessageBoxA(frame, w->text(PlatWindowText::AboutText), w->text(PlatWindowText::AboutTitle),
                  MB_OK | MB_ICONINFORMATION);
      break;
    case kCmdSmallFont:
    case kCmdLargeFont:
      *w->smallFont = LOWORD(wParam) == kCmdSmallFont ? 1 : 0;
      UpdateFont(w);
      SetFontCheckMark(w);
      break;
    case kCmdSaveAs: PlatSaveReportLog(w); break;
    case kCmdRefresh:
      SendMessageA(frame, WM_USER, kRefillWParam, kRefillLParam);
      SendMessageA(edit, EM_SETSEL, 0, 0);
      break;
    default: break;
  }
}

void Refill(HWND frame, PlatReportWindow* w) {
  if (IsIconic(frame)) {
    ShowWindow(frame, SW_SHOWNORMAL);
  } else if (!IsZoomed(frame)) {
    ShowWindow(frame, SW_SHOW);
  }
  w->clear(w->owner);
  w->refill(w->owner);
  SendMessageA(Hwnd(w->edit), EM_SETSEL, 0, 0);
}

}  // namespace

int Is95FromVersion(uint32_t dwVersion) { return (dwVersion & 0xFFFFu) == kNewShellVersion; }

void ReportWindowExStyles(int newShell, uint32_t* frameExStyle, uint32_t* editExStyle) {
  *frameExStyle = newShell ? WS_EX_APPWINDOW : 0;
  *editExStyle = newShell ? WS_EX_CLIENTEDGE : 0;
}

bool PlatRefillOpenReportWindow(const char* title) {
  is95 = Is95FromVersion(GetVersion());
  if (!title) return false;
  HWND other = FindWindowA(nullptr, title);
  if (!other) return false;
  PostMessageA(other, WM_USER, kRefillWParam, kRefillLParam);
  return true;
}

int16_t PlatCreateReportWindow(PlatReportWindow* w, const char* title, uint16_t wOriginX,
                               uint16_t wOriginY, uint16_t wExtentX, uint16_t wExtentY,
                               QHANDLE hIcon, int nCmdShow, PlatWndProcFn wndProc) {
  w->frame = nullptr;
  w->edit = nullptr;
  w->font = nullptr;
  w->flags = 0;
  w->brush = CreateSolidBrush(w->bkColor);

  wndclass = WNDCLASSA{};
  wndclass.style = CS_HREDRAW | CS_VREDRAW;
  wndclass.lpfnWndProc = reinterpret_cast<WNDPROC>(wndProc);
  wndclass.hInstance = Hinst(w->instance);
  wndclass.hIcon = static_cast<HICON>(hIcon);
  wndclass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wndclass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wndclass.lpszMenuName = MAKEINTRESOURCEA(w->menuId);
  wndclass.lpszClassName = w->className;
  if (!RegisterClassA(&wndclass)) {
    MessageBoxA(nullptr, w->text(PlatWindowText::ErrWindowClass), nullptr,
                MB_OK | MB_ICONINFORMATION);
    return -1;
  }

  uint32_t frameExStyle = 0;
  uint32_t editExStyle = 0;
  ReportWindowExStyles(is95, &frameExStyle, &editExStyle);
  w->flags |= kWndClassRegistered | kWndFrameCreating;
  const int screenX = GetSystemMetrics(SM_CXSCREEN);
  const int screenY = GetSystemMetrics(SM_CYSCREEN);
  HWND frame = CreateWindowExA(
      frameExStyle, w->className, title, WS_OVERLAPPEDWINDOW, wOriginX ? wOriginX : screenX / 3,
      wOriginY ? wOriginY : screenY / 3, wExtentX ? wExtentX : screenX * 2 / 3,
      wExtentY ? wExtentY : screenY * 2 / 3, nullptr, nullptr, Hinst(w->instance), nullptr);
  w->flags &= static_cast<uint16_t>(~kWndFrameCreating);
  if (!frame) {
    w->flags = 0;
    UnregisterClassA(w->className, Hinst(w->instance));
    MessageBoxA(nullptr, w->text(PlatWindowText::ErrMainWindow), nullptr,
                MB_OK | MB_ICONINFORMATION);
    return -1;
  }
  w->frame = frame;

  RECT client;
  GetClientRect(frame, &client);
  HWND edit = CreateWindowExA(
      editExStyle, "edit", "", kEditStyle, 0, 0, client.right, client.bottom, frame,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReportEditId)), Hinst(w->instance), nullptr);
  if (!edit) {
    MessageBoxA(nullptr, w->text(PlatWindowText::ErrListWindow), nullptr,
                MB_OK | MB_ICONINFORMATION);
    return -1;  // the class is registered: the caller closes the window
  }
  w->edit = edit;
  w->flags |= kWndEditCreated;
  // A server's tables give far more text than the control's default limit
  // (30000 to 64K characters): 0 asks for the largest limit the system has.
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);

  UpdateFont(w);
  SetFontCheckMark(w);
  AnimateOpening(w, frame);
  ShowWindow(frame, nCmdShow);
  UpdateWindow(frame);
  hAccel = LoadAcceleratorsA(Hinst(w->instance), MAKEINTRESOURCEA(w->acceleratorId));
  return 1;
}

intptr_t PlatReportWindowProc(PlatReportWindow* w, QHANDLE hWnd, unsigned message, uintptr_t wParam,
                              intptr_t lParam) {
  HWND frame = Hwnd(hWnd);
  HWND edit = Hwnd(w->edit);
  switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
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
    case WM_COMMAND: OnCommand(frame, w, wParam); return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, w->bkColor);
      SetTextColor(dc, w->textColor);
      return reinterpret_cast<intptr_t>(w->brush);
    }
    case WM_USER:
      if (wParam == kRefillWParam && lParam == kRefillLParam) Refill(frame, w);
      return 0;
    default: return DefWindowProcA(frame, message, wParam, lParam);
  }
}

intptr_t PlatRunReportWindow(PlatReportWindow* w) {
  SendMessageA(Hwnd(w->edit), EM_SETSEL, 0, 0);
  // A translated key is sent as WM_COMMAND to the window named here. Keys
  // reach the edit control, which ignores commands, so the frame is named:
  // that is where Copy and F1 are handled.
  HWND frame = Hwnd(w->frame);
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(frame, hAccel, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<intptr_t>(msg.wParam);
}

void PlatCloseReportWindow(PlatReportWindow* w) {
  if (w->frame && IsWindow(Hwnd(w->frame))) DestroyWindow(Hwnd(w->frame));
  if (w->brush) DeleteObject(w->brush);
  if (w->font) DeleteObject(w->font);
  w->brush = nullptr;
  w->font = nullptr;
  UnregisterClassA(w->className, Hinst(w->instance));
  w->frame = nullptr;
  w->edit = nullptr;
  w->flags = 0;
}
