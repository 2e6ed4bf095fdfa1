// Stands in for the suite's host program: owns a multi-line edit control,
// starts SYSLENS.EXE with that control's handle in W=, keeps its message
// queue running while the viewer writes into the control from its own
// process, and compares the text that arrived with the golden text.
//
//   host_edit --viewer DIR\SYSLENS.EXE --golden FILE
// Exit code: 0 when the text and the viewer's behaviour are as expected.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
  fflush(stdout);
  if (!ok) ++failures;
}

std::string ReadFileText(const char* path) {
  std::string text;
  if (FILE* f = fopen(path, "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
  }
  return text;
}

const char* Argument(int argc, char** argv, const char* name) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return nullptr;
}

// Runs the viewer to its end while this thread answers the messages it
// sends to the control. False when it did not end within the time.
bool RunToEnd(HANDLE process, DWORD timeoutMs, bool* sawOwnWindow) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (FindWindowA("QMRKWAPP", nullptr)) *sawOwnWindow = true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* viewer = Argument(argc, argv, "--viewer");
  const char* golden = Argument(argc, argv, "--golden");
  if (!viewer || !golden) {
    fprintf(stderr, "usage: host_edit --viewer EXE --golden FILE\n");
    return 2;
  }
  HWND frame = CreateWindowExA(0, "static", "Host of the report", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               10, 10, 400, 300, nullptr, nullptr, nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "edit", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                              400, 300, frame, nullptr, nullptr, nullptr);
  if (!frame || !edit) {
    Check(false, "host window and edit control created");
    return 1;
  }
  char command[1024];
  snprintf(command, sizeof command, "\"%s\" W=%08lX X=0000 Y=0000 X2=0000 Y2=0000 A=0", viewer,
           // Handles fit in 32 bits on both targets; W= carries those bits.
           static_cast<unsigned long>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(edit))));
  std::vector<char> line(command, command + strlen(command) + 1);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    Check(false, "viewer started");
    return 1;
  }
  bool sawOwnWindow = false;
  const bool ended = RunToEnd(pi.hProcess, 60000, &sawOwnWindow);
  Check(ended, "viewer ends by itself");
  if (!ended) TerminateProcess(pi.hProcess, 1);
  DWORD code = 1234;
  GetExitCodeProcess(pi.hProcess, &code);
  Check(code == 0, "viewer result 0");
  Check(!sawOwnWindow, "no report window of the viewer's own");
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  const int length = GetWindowTextLengthA(edit);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], length + 1)));
  const std::string expected = ReadFileText(golden);
  Check(!expected.empty() && text == expected, "the report arrived in the host's control");
  if (text != expected) printf("got %zu bytes:\n%s\n", text.size(), text.c_str());
  DestroyWindow(frame);
  printf("%d failure(s)\n", failures);
  return failures ? 1 : 0;
}
