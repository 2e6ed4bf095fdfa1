// Save As of the report window: the common save dialog, then the report
// text and a closing line written into the chosen file. The writing is its
// own step so that it can run without the dialog.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "plat_report_window.h"

namespace {

constexpr DWORD kLogNameSize = 280;

// Closes the log file on every path once it exists.
struct FileCloser {
  HANDLE file;
  ~FileCloser() { CloseHandle(file); }
};

bool WriteAll(HANDLE file, const char* data, size_t length) {
  while (length > 0) {
    const DWORD chunk = length > 0x40000000u ? 0x40000000u : static_cast<DWORD>(length);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    length -= written;
  }
  return true;
}

void PutUpSaveErrorMsg(const PlatReportWindow* w, int pos) {
  HWND owner = static_cast<HWND>(w->edit);
  char number[16];
  snprintf(number, sizeof number, "%i", pos);
  MessageBoxA(owner, number, nullptr, MB_OK);
  MessageBoxA(owner, w->text(PlatWindowText::SaveFailed), nullptr, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int PlatWriteReportLog(const PlatReportWindow* w, const char* lpszPath) {
  HANDLE file = CreateFileA(lpszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kSaveErrorCreate;
  FileCloser closer{file};

  HWND edit = static_cast<HWND>(w->edit);
  const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
  // The control's limit is raised to the system's largest, so any length it
  // holds is saved; only an empty report is refused.
  if (length <= 0) return kSaveErrorEmpty;

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) + 10);
  if (!block) return kSaveErrorMemory;
  char* text = static_cast<char*>(GlobalLock(block));
  if (!text) {
    GlobalFree(block);
    return kSaveErrorLock;
  }
  const LRESULT copied = SendMessageA(edit, WM_GETTEXT, static_cast<WPARAM>(length) + 1,
                                      reinterpret_cast<LPARAM>(text));
  // Write failures are not numbered: the file holds what could be written.
  if (copied > 0) WriteAll(file, text, static_cast<size_t>(copied));
  const char* closing = w->text(PlatWindowText::SaveClosingLine);
  WriteAll(file, closing, strlen(closing));
  GlobalUnlock(block);
  GlobalFree(block);
  return 0;
}

void PlatSaveReportLog(PlatReportWindow* w) {
  char fileName[kLogNameSize] = "";
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(w->frame);
  ofn.lpstrFilter =
      w->text(PlatWindowText::SaveFilter);  // "Log Files", NUL, "*.log;*.txt", NUL, NUL
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = kLogNameSize;
  ofn.lpstrDefExt = "log";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
  if (is95) ofn.Flags |= OFN_EXPLORER | OFN_LONGNAMES;
  if (!GetSaveFileNameA(&ofn)) return;  // cancelled
  const int error = PlatWriteReportLog(w, fileName);
  if (error) PutUpSaveErrorMsg(w, error);
}
