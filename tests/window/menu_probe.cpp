// menu_probe.dll: reads the report window's menu from inside the viewer's
// process. Wine keeps a menu in the process that made it, so another
// process's GetMenuItemCount and GetMenuItemInfo fail on it (Windows would
// answer them); the window driver therefore hooks this DLL into the viewer's
// thread (WH_GETMESSAGE), and the hook runs the menu API there.
//
// The hook describes the menu of the thread's report window once, into the
// file that SYSLENS_MENU_PROBE_OUT names in the viewer's environment (the
// driver sets it before it starts the viewer): one line per entry, "popup
// TEXT", "item ID TEXT" or "separator", each popup's items after it, texts
// in the ANSI code page as GetMenuItemInfoA gives them.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool described = false;

void DescribeMenu(HMENU menu, bool inPopup, std::string* out) {
  const int count = GetMenuItemCount(menu);
  if (count < 0) *out += "unreadable\n";
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
      *out += "unreadable\n";
      continue;
    }
    char line[320];
    if (info.fType & MFT_SEPARATOR) {
      snprintf(line, sizeof line, "separator\n");
    } else if (info.hSubMenu) {
      // The report menu has no popup inside a popup; one would show as "nested".
      snprintf(line, sizeof line, "%s %s\n", inPopup ? "nested" : "popup", text);
    } else {
      snprintf(line, sizeof line, "item %u %s\n", info.wID, text);
    }
    *out += line;
    if (info.hSubMenu && !inPopup) DescribeMenu(info.hSubMenu, true, out);
  }
}

BOOL CALLBACK FindReportWindow(HWND hwnd, LPARAM lParam) {
  char cls[64] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (strcmp(cls, "QMRKWAPP") != 0) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hwnd;
  return FALSE;
}

void WriteMenuOfThisThread() {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("SYSLENS_MENU_PROBE_OUT", path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  HWND frame = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindReportWindow, reinterpret_cast<LPARAM>(&frame));
  if (!frame) return;  // not yet: the next message tries again
  described = true;
  std::string text;
  if (HMENU bar = GetMenu(frame)) {
    DescribeMenu(bar, false, &text);
  } else {
    text = "no menu\n";
  }
  // Written aside and renamed, so the driver never reads half a file.
  const std::string partial = std::string(path) + ".partial";
  FILE* f = fopen(partial.c_str(), "wb");
  if (!f) return;
  const bool written = fwrite(text.data(), 1, text.size(), f) == text.size();
  if (fclose(f) == 0 && written) MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && !described) WriteMenuOfThisThread();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// An undecorated name on both architectures (the hook procedure itself is
// stdcall, whose export name the 32-bit toolchain decorates).
extern "C" __declspec(dllexport) HOOKPROC MenuProbeHookProc() { return MenuProbeHook; }
