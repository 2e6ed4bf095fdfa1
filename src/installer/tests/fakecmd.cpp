// Command interpreter stand-in for the Wine tests of TOVARIN, installed as
// ComSpec in the test's own Wine prefix so that system() starts it as
// "<this program> /c <command>".
//
// It appends each command exactly as received to the file named by
// TOVARIN_TEST_CMDLOG, so the test can compare what ran with what was echoed,
// then hands the command to the real cmd.exe. Wine's cmd (8.x) cannot copy
// to a wildcard destination such as "D\*.*", which Windows' cmd can; such a
// trailing "\*.*" (quoted or not) of a copy command is passed on as "\",
// which both treat as "into that directory, same names". Nothing else is
// changed, so the real interpreter still parses the quoting under test.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Rewrite(std::string cmd) {
  if (cmd.compare(0, 5, "copy ") != 0) return cmd;
  for (const char* tail : {"\\*.*", "\\*.*\""}) {
    size_t n = strlen(tail);
    if (cmd.size() >= n && cmd.compare(cmd.size() - n, n, tail) == 0) {
      cmd.erase(cmd.size() - n + 1, 3);  // keep the backslash (and quote)
      break;
    }
  }
  return cmd;
}

}  // namespace

int main() {
  const char* line = GetCommandLineA();
  const char* c = strstr(line, " /c ");
  if (c == nullptr) {
    fprintf(stderr, "fakecmd: no /c in [%s]\n", line);
    return 255;
  }
  std::string cmd(c + 4);

  if (const char* log = getenv("TOVARIN_TEST_CMDLOG")) {
    if (FILE* f = fopen(log, "ab")) {
      fprintf(f, "%s\n", cmd.c_str());
      fclose(f);
    }
  }

  char sysdir[MAX_PATH];
  UINT n = GetSystemDirectoryA(sysdir, sizeof sysdir);
  if (n == 0 || n >= sizeof sysdir) return 255;
  std::string app = std::string(sysdir) + "\\cmd.exe";
  std::string cmdline = "cmd.exe /c " + Rewrite(cmd);

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(app.c_str(), &cmdline[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                      &pi)) {
    fprintf(stderr, "fakecmd: cannot start %s\n", app.c_str());
    return 255;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 255;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}
