// Drives the real report window of SYSLENS.EXE from another process, as a
// user and the host program would: finds it by its title, reads the edit
// control, sends menu commands and keys, closes the message boxes it raises,
// starts a second copy, and saves the log through the save dialog.
//
//   window_driver --viewer DIR\SYSLENS.EXE --dumps DIR --out DIR
//
// DIR of --dumps holds the dumps the runner prepared (see
// run_window_tests.py) and the golden texts; the stand-in collector copies
// DIR\current.bin, which the driver replaces to change what a refill shows.
// The driver writes OUT\window-ready once the window shows its report and
// waits (up to 20 s) for OUT\shot-done, so the runner can take a screenshot.
// Last, it starts the viewer once more with CurrentLanguage=8 (German) in
// the profile and writes what that window shows, in the window's ANSI code
// page, for the runner to compare with the German resources:
// OUT\german-menu.txt (code page, title, menu bar and popup items) and
// OUT\german-report.txt (the edit control's text). Wine answers the menu
// API only inside the process that owns the menu, so menu_probe.dll (beside
// the driver) is hooked into the viewer to read it there.
// Exit code: 0 when every check passed, 1 otherwise.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "message_width.h"
#include "report_window.h"

namespace {

const char kTitle[] = "DMI Information";
const char kOutOfSpace[] = "Edit control out of space.";
const char kNextVersion[] =
    "This function will be supported by the next\nversion of Quillmark For Windows.";
const char kAboutText[] =
    "Quillmark For Windows\nCopyright (C) 1999 Quillmark Software.\nAll rights reserved.";
const char kAboutCaption[] = "About Quillmark For Windows";
const char kSaveFailed[] = "Could not save data!\nTry cut and paste.";
const char kLogClosing[] = "\r\n\r\nQuillmark For Windows\r\n";
constexpr DWORD kBoxWaitMs = 15000;
constexpr DWORD kIdleWaitMs = 300000;  // a large report fills slowly under Wine
constexpr int kLargeCount = 210;       // structures in large.bin (see the runner)

int failures = 0;
std::string dumpsDir, outDir, viewerPath;

void Check(bool ok, const char* format, ...) {
  va_list args;
  va_start(args, format);
  char text[512];
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  printf("%s: %s\n", ok ? "ok  " : "FAIL", text);
  fflush(stdout);
  if (!ok) ++failures;
}

std::string ReadFileText(const std::string& path) {
  std::string text;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
  }
  return text;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the stand-in collector hands over at the next run.
void UseDump(const char* name) {
  const std::string from = dumpsDir + "\\" + name;
  const std::string to = dumpsDir + "\\current.bin";
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) Check(false, "copy dump %s", name);
}

struct Viewer {
  PROCESS_INFORMATION pi = {};
  HWND frame = nullptr;
  HWND edit = nullptr;
};

bool StartViewer(const char* parameters, PROCESS_INFORMATION* pi) {
  std::string commandLine = "\"" + viewerPath + "\" " + parameters;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        pi) != 0;
}

// Waits until the viewer's thread takes messages again: a refill runs inside
// one message, so a message sent now is answered only after it.
bool WaitIdle(HWND frame) {
  DWORD_PTR result;
  return SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, kIdleWaitMs, &result) != 0;
}

std::string EditText(HWND edit) {
  const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

// The pointer form of EM_GETSEL: its result packs two 16-bit positions.
DWORD SelectionStart(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start;
}

struct DialogSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindDialogProc(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<DialogSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == search->pid && strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindDialog(DWORD pid) {
  DialogSearch search = {pid, nullptr};
  EnumWindows(FindDialogProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitDialog(DWORD pid, DWORD ms = kBoxWaitMs) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (HWND box = FindDialog(pid)) return box;
    Sleep(50);
  }
  return nullptr;
}

struct Box {
  std::string caption;
  std::string text;
};

// Reads a message box (its text is the static control 0xFFFF) and closes it
// with its OK button.
bool CloseMessageBox(DWORD pid, Box* box) {
  HWND dialog = WaitDialog(pid);
  if (!dialog) return false;
  char caption[256] = "";
  char text[1024] = "";
  GetWindowTextA(dialog, caption, sizeof caption);
  GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);
  box->caption = caption;
  box->text = text;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(25);
  return !IsWindow(dialog);
}

void SendCommand(const Viewer& v, WORD id) {
  PostMessageA(v.frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// Index of the first differing byte, for messages.
size_t FirstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

void CheckText(const Viewer& v, const std::string& expected, const char* what) {
  const std::string text = EditText(v.edit);
  Check(text == expected, "%s: window text (%zu bytes, expected %zu, first difference at %zu)",
        what, text.size(), expected.size(), FirstDifference(text, expected));
}

bool OpenViewer(Viewer* v) {
  if (!StartViewer("tulip", &v->pi)) return false;
  for (int i = 0; i < 600 && !v->frame; ++i) {
    v->frame = FindWindowA("QMRKWAPP", kTitle);
    if (!v->frame) Sleep(50);
  }
  if (!v->frame) return false;
  v->edit = GetDlgItem(v->frame, kReportEditId);
  return v->edit && WaitIdle(v->frame);
}

void CheckCreation(const Viewer& v) {
  const int sx = GetSystemMetrics(SM_CXSCREEN);
  const int sy = GetSystemMetrics(SM_CYSCREEN);
  RECT r;
  GetWindowRect(v.frame, &r);
  Check(r.left == sx / 3 && r.top == sy / 3 && r.right - r.left == sx * 2 / 3 &&
            r.bottom - r.top == sy * 2 / 3,
        "default geometry on a %dx%d screen: (%ld,%ld) %ldx%ld", sx, sy, r.left, r.top,
        r.right - r.left, r.bottom - r.top);
  if (sx == 1024 && sy == 768) {
    Check(r.left == 341 && r.top == 256 && r.right - r.left == 682 && r.bottom - r.top == 512,
          "1024x768 gives (341,256) 682x512");
  }
  const LONG style = GetWindowLongA(v.edit, GWL_STYLE);
  Check((style & 0x503018C4) == 0x503018C4, "edit control style 0x%08lX holds 0x503018C4", style);
  // Wine and today's Windows answer GetVersion with 5.x or 6.x, never 3.95.
  Check((GetWindowLongA(v.edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0 &&
            (GetWindowLongA(v.frame, GWL_EXSTYLE) & WS_EX_APPWINDOW) == 0,
        "older-shell styles: no client edge, no app-window style");
  RECT client;
  GetClientRect(v.frame, &client);
  RECT editWindow;
  GetWindowRect(v.edit, &editWindow);
  Check(editWindow.right - editWindow.left == client.right &&
            editWindow.bottom - editWindow.top == client.bottom,
        "the edit control fills the client area");
  const uint32_t limit = ResultDword(SendMessageA(v.edit, EM_GETLIMITTEXT, 0, 0));
  Check(limit >= 0x7FFFFFFEu, "text limit raised to the largest (%lu)",
        static_cast<unsigned long>(limit));
  Check(SelectionStart(v.edit) == 0, "caret at the start after the first fill");
}

void TakeScreenshot() {
  const std::string ready = outDir + "\\window-ready";
  const std::string done = outDir + "\\shot-done";
  if (FILE* f = fopen(ready.c_str(), "wb")) fclose(f);
  for (int i = 0; i < 400 && !FileExists(done); ++i) Sleep(50);
  Check(FileExists(done), "screenshot taken by the runner");
}

void CheckRefresh(const Viewer& v, const std::string& golden27) {
  UseDump("v27.bin");
  SendMessageA(v.edit, EM_SETSEL, 20, 20);
  SendCommand(v, kCmdRefresh);
  Sleep(100);
  WaitIdle(v.frame);
  CheckText(v, golden27, "Refresh rebuilds the report");
  Check(SelectionStart(v.edit) == 0, "Refresh puts the caret at the start");
  Check(!FindDialog(v.pi.dwProcessId), "no message box after Refresh");
}

std::string ClipboardText() {
  std::string text;
  for (int i = 0; i < 40 && !OpenClipboard(nullptr); ++i) Sleep(50);
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

void CheckCopy(const Viewer& v) {
  ClearClipboard();
  SendMessageA(v.edit, EM_SETSEL, 4, 12);
  SendCommand(v, kCmdCopy);
  WaitIdle(v.frame);
  const std::string expected = EditText(v.edit).substr(4, 8);
  Check(ClipboardText() == expected, "Copy puts the selection on the clipboard");

  // Ctrl+C reaches the window as the character code 3, which the accelerator
  // table turns into Copy (the edit control would copy on it as well).
  ClearClipboard();
  SendMessageA(v.edit, EM_SETSEL, 0, 10);
  PostMessageA(v.edit, WM_CHAR, 3, 1);
  WaitIdle(v.frame);
  Check(ClipboardText() == EditText(v.edit).substr(0, 10), "Ctrl+C copies");
}

void CheckBoxes(const Viewer& v) {
  const DWORD pid = v.pi.dwProcessId;
  Box box;
  SendCommand(v, kCmdAbout);
  bool closed = CloseMessageBox(pid, &box);
  Check(closed && box.caption == kAboutCaption && box.text == kAboutText,
        "About shows strings 3958/3959 (caption \"%s\")", box.caption.c_str());
  for (WORD id : {kCmdNextVersion1, kCmdNextVersion2}) {
    SendCommand(v, id);
    box = Box{};
    closed = CloseMessageBox(pid, &box);
    Check(closed && box.text == kNextVersion && box.caption.empty(),
          "command %u shows the next-version message with an empty caption", id);
  }
  PostMessageA(v.edit, WM_KEYDOWN, VK_F1, 0x003B0001);
  box = Box{};
  closed = CloseMessageBox(pid, &box);
  Check(closed && box.text == kNextVersion, "F1 shows the next-version message");
  WaitIdle(v.frame);
  Check(!FindDialog(pid), "every box closed");
}

void CheckSecondStart(const Viewer& v, const std::string& golden23) {
  UseDump("v23.bin");
  ShowWindow(v.frame, SW_MINIMIZE);
  WaitIdle(v.frame);
  Check(IsIconic(v.frame) != 0, "first window minimised");
  // The host's way of asking for the own window: W= through A= with W 0.
  PROCESS_INFORMATION second = {};
  Check(StartViewer("W=00000000 X=0000 Y=0000 X2=0000 Y2=0000 A=0", &second) != 0,
        "second viewer started with W=00000000");
  const DWORD wait = WaitForSingleObject(second.hProcess, 20000);
  DWORD code = 1234;
  GetExitCodeProcess(second.hProcess, &code);
  Check(wait == WAIT_OBJECT_0 && code == 0, "second start ends at once with 0 (code %lu)", code);
  CloseHandle(second.hThread);
  CloseHandle(second.hProcess);
  Sleep(200);
  WaitIdle(v.frame);
  Check(!IsIconic(v.frame), "first window restored from minimised");
  CheckText(v, golden23, "second start refills the first window");
  Check(SelectionStart(v.edit) == 0, "caret at the start after the refill");
  int windows = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "QMRKWAPP", kTitle); w;
       w = FindWindowExA(nullptr, w, "QMRKWAPP", kTitle)) {
    ++windows;
  }
  Check(windows == 1, "one window of the title (%d)", windows);
}

void CheckLargeReport(const Viewer& v, const std::string& golden23) {
  // One structure first, to learn its text; then the same structure many
  // times, which gives more than 64 KB of report.
  UseDump("one.bin");
  SendCommand(v, kCmdRefresh);
  Sleep(100);
  WaitIdle(v.frame);
  const std::string one = EditText(v.edit);
  Check(one.size() > golden23.size() && one.compare(0, golden23.size(), golden23) == 0,
        "one structure follows the header");
  std::string expected = golden23;
  for (int i = 0; i < kLargeCount; ++i) expected += one.substr(golden23.size());
  UseDump("large.bin");
  SendCommand(v, kCmdRefresh);
  Sleep(100);
  WaitIdle(v.frame);
  Check(!FindDialog(v.pi.dwProcessId), "no out-of-space box for a large report");
  Check(expected.size() > 65536, "the large report is over 64 KB (%zu)", expected.size());
  CheckText(v, expected, "large report arrives whole");
}

void CheckOutOfSpace(const Viewer& v) {
  // A limit the report cannot fit in stands for a control the system cannot
  // grow any further.
  SendMessageA(v.edit, EM_SETLIMITTEXT, 100, 0);
  UseDump("v23.bin");
  SendCommand(v, kCmdRefresh);
  Box box;
  const bool closed = CloseMessageBox(v.pi.dwProcessId, &box);
  Check(closed && box.text == kOutOfSpace, "out-of-space box (\"%s\")", box.text.c_str());
  WaitIdle(v.frame);
  Check(!FindDialog(v.pi.dwProcessId), "one box only: later appends are dropped");
  const std::string text = EditText(v.edit);
  Check(!text.empty() && text.size() <= 100, "text stops at the limit (%zu)", text.size());
  SendMessageA(v.edit, EM_SETLIMITTEXT, 0, 0);
}

// The file-name field of the save dialog: a combo box in the newer layout,
// an edit field in the older one.
HWND FileNameField(HWND dialog) {
  for (int id : {0x47C, 0x480}) {
    if (HWND field = GetDlgItem(dialog, id)) return field;
  }
  return nullptr;
}

bool SaveThroughDialog(const Viewer& v, const std::string& path) {
  SendCommand(v, kCmdSaveAs);
  HWND dialog = WaitDialog(v.pi.dwProcessId);
  if (!dialog) return false;
  HWND field = FileNameField(dialog);
  if (!field) return false;
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(25);
  return !IsWindow(dialog);
}

void CheckSaveLog(const Viewer& v) {
  const std::string path = outDir + "\\saved.log";
  DeleteFileA(path.c_str());
  const std::string text = EditText(v.edit);
  Check(SaveThroughDialog(v, path), "Save As dialog accepts a file name");
  WaitIdle(v.frame);
  Check(!FindDialog(v.pi.dwProcessId), "no error box for a report");
  Check(ReadFileText(path) == text + kLogClosing, "saved log holds the text and the closing line");

  // An empty report: error 4, then the advice; the file stays, empty.
  UseDump("empty.bin");
  SendCommand(v, kCmdRefresh);
  Sleep(100);
  WaitIdle(v.frame);
  Check(EditText(v.edit).empty(), "a failed collector leaves the window empty");
  const std::string emptyPath = outDir + "\\empty.log";
  DeleteFileA(emptyPath.c_str());
  Check(SaveThroughDialog(v, emptyPath), "Save As dialog for the empty report");
  Box number, advice;
  bool closed = CloseMessageBox(v.pi.dwProcessId, &number);
  Check(closed && number.text == "4", "error number 4 (\"%s\")", number.text.c_str());
  closed = CloseMessageBox(v.pi.dwProcessId, &advice);
  Check(closed && advice.text == kSaveFailed, "then string 3954 (\"%s\")", advice.text.c_str());
  Check(FileExists(emptyPath) && ReadFileText(emptyPath).empty(), "the empty file was created");
}

void CheckExit(Viewer* v) {
  // The large font, chosen by command 110, is what the profile keeps.
  SendCommand(*v, kCmdLargeFont);
  WaitIdle(v->frame);
  SendCommand(*v, kCmdExit);
  const DWORD wait = WaitForSingleObject(v->pi.hProcess, 20000);
  DWORD code = 1234;
  GetExitCodeProcess(v->pi.hProcess, &code);
  Check(wait == WAIT_OBJECT_0 && code == 0, "Exit ends the program with 0 (code %lu)", code);
  if (wait != WAIT_OBJECT_0) TerminateProcess(v->pi.hProcess, 1);
  Check(GetProfileIntA("QMRKWIN", "SmallFont", -1) == 0, "SmallFont=0 written at close");
  CloseHandle(v->pi.hThread);
  CloseHandle(v->pi.hProcess);
}

BOOL CALLBACK FindReportWindowProc(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<DialogSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == search->pid && strcmp(cls, "QMRKWAPP") == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The report window of one process, whatever its (translated) title.
HWND WaitReportWindow(DWORD pid) {
  for (int i = 0; i < 600; ++i) {
    DialogSearch search = {pid, nullptr};
    EnumWindows(FindReportWindowProc, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  return nullptr;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fclose(f) == 0 && written;
}

// The menu of the viewer's window as menu_probe.dll lists it from inside
// the viewer (the probe's output file was named in the viewer's environment).
std::string MenuFromInside(const Viewer& v, const std::string& probeOut) {
  char self[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string probe(self, length < sizeof self ? length : 0);
  probe = probe.substr(0, probe.find_last_of("\\/") + 1) + "menu_probe.dll";
  HMODULE module = LoadLibraryA(probe.c_str());
  auto get = module ? reinterpret_cast<HOOKPROC (*)()>(
                          reinterpret_cast<void*>(GetProcAddress(module, "MenuProbeHookProc")))
                    : nullptr;
  HHOOK hook = get ? SetWindowsHookExA(WH_GETMESSAGE, get(), module,
                                       GetWindowThreadProcessId(v.frame, nullptr))
                   : nullptr;
  Check(hook != nullptr, "menu probe %s hooked into the viewer", probe.c_str());
  std::string menu;
  if (hook) {
    // Each message the viewer takes runs the hook until it has written.
    for (int i = 0; i < 200 && !FileExists(probeOut); ++i) {
      PostMessageA(v.frame, WM_NULL, 0, 0);
      Sleep(50);
    }
    menu = ReadFileText(probeOut);
    Check(!menu.empty(), "menu probe wrote the menu");
    UnhookWindowsHookEx(hook);
  }
  if (module) FreeLibrary(module);
  return menu;
}

void CheckGermanWindow() {
  WriteProfileStringA("QMRKWIN", "CurrentLanguage", "8");
  const std::string probeOut = outDir + "\\german-menu-probe.txt";
  DeleteFileA(probeOut.c_str());
  SetEnvironmentVariableA("SYSLENS_MENU_PROBE_OUT", probeOut.c_str());
  UseDump("v23.bin");
  Viewer v;
  Check(StartViewer("tulip", &v.pi) != 0, "viewer started with CurrentLanguage=8");
  if (v.pi.hProcess) {
    v.frame = WaitReportWindow(v.pi.dwProcessId);
    if (v.frame) v.edit = GetDlgItem(v.frame, kReportEditId);
  }
  Check(v.frame && v.edit && WaitIdle(v.frame), "German report window appears");
  if (v.frame && v.edit) {
    char title[256] = "";
    GetWindowTextA(v.frame, title, sizeof title);
    std::string menu = "acp " + std::to_string(GetACP()) + "\ntitle " + title + "\n";
    menu += MenuFromInside(v, probeOut);
    Check(WriteFileText(outDir + "\\german-menu.txt", menu) &&
              WriteFileText(outDir + "\\german-report.txt", EditText(v.edit)),
          "German menu and report written for the runner");
    SendCommand(v, kCmdExit);
  }
  if (v.pi.hProcess) {
    if (WaitForSingleObject(v.pi.hProcess, 20000) != WAIT_OBJECT_0) {
      Check(false, "German viewer ends on Exit");
      TerminateProcess(v.pi.hProcess, 1);
    }
    CloseHandle(v.pi.hThread);
    CloseHandle(v.pi.hProcess);
  }
  WriteProfileStringA("QMRKWIN", "CurrentLanguage", nullptr);
}

const char* Argument(int argc, char** argv, const char* name) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const char* viewer = Argument(argc, argv, "--viewer");
  const char* dumps = Argument(argc, argv, "--dumps");
  const char* out = Argument(argc, argv, "--out");
  if (!viewer || !dumps || !out) {
    fprintf(stderr, "usage: window_driver --viewer EXE --dumps DIR --out DIR\n");
    return 2;
  }
  viewerPath = viewer;
  dumpsDir = dumps;
  outDir = out;
  const std::string golden23 = ReadFileText(dumpsDir + "\\golden23.txt");
  const std::string golden27 = ReadFileText(dumpsDir + "\\golden27.txt");
  // The prefix outlives a run: start from the defaults even after a run
  // that stopped half-way.
  WriteProfileStringA("QMRKWIN", "SmallFont", nullptr);
  WriteProfileStringA("QMRKWIN", "CurrentLanguage", nullptr);

  UseDump("v23.bin");
  Viewer v;
  if (!OpenViewer(&v)) {
    Check(false, "the window \"%s\" appears", kTitle);
    if (v.pi.hProcess) TerminateProcess(v.pi.hProcess, 1);
    return 1;
  }
  CheckText(v, golden23, "first fill");
  CheckCreation(v);
  TakeScreenshot();
  CheckRefresh(v, golden27);
  CheckCopy(v);
  CheckBoxes(v);
  CheckSecondStart(v, golden23);
  CheckLargeReport(v, golden23);
  CheckOutOfSpace(v);
  CheckSaveLog(v);
  CheckExit(&v);
  const DWORD germanStart = GetTickCount();
  CheckGermanWindow();
  printf("German window run: %lu ms\n", GetTickCount() - germanStart);
  printf("%d failure(s)\n", failures);
  return failures ? 1 : 0;
}
