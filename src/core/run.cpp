// The run sequence: prepare the sink, run the collector into a temporary
// dump, read the dump, remove it, close the sink.
#include <cstdio>
#include <string>

#include "addpath.h"
#include "int_str.h"
#include "qmrkw32.h"
#include "syslens.h"

namespace {

// The collector gets a fixed ten seconds in these language sets, whether it
// has finished or not.
bool UsesFixedCollectorTime(int language) {
  return language == 2 || language == 15 || language == 24;
}

constexpr int kExitCodePolls = 16;
constexpr uint32_t kPollIntervalMs = 1000;
constexpr uint32_t kFixedCollectorTimeMs = 10000;

}  // namespace

void FillScreen() {
  static const int kReportTabStops[] = {15, 0};
  if (bEdit) {
    QMRKSetTabStops(&wnd_data, kReportTabStops);
    QMRKSuspendRedraw(&wnd_data, 1);
  }
  if (bHTML) {
    QMRKAddHeader2(&wnd_data, nullptr, 0);
    // The header is in the file while the viewer waits for the collector.
    QMRKFlushOutputFile();
  }
  dmi_info();
  if (bEdit) QMRKSuspendRedraw(&wnd_data, 0);
  if (bHTML) {
    QMRKAddHeader2(&wnd_data, nullptr, -1);
    QMRKCloseOutputFile();
  }
  if (bData) ClosePropertyFile();
}

int dmi_info() {
  char szDumpPath[260] = "";
  // The dump exists from the moment its name is made; it goes on every path.
  if (!RunPROBEX(szDumpPath)) {
    if (szDumpPath[0]) PlatDeleteFile(szDumpPath);
    return 0;
  }
  FILE* input = fopen(szDumpPath, "rb");
  if (!input) {
    PlatDeleteFile(szDumpPath);
    return 0;
  }
  const int shown = display_dmi_info(input);
  fclose(input);
  PlatDeleteFile(szDumpPath);
  return shown ? 1 : 0;
}

int RunPROBEX(char (&szDumpPath)[260]) {
  const std::string collector = AddPath(ghInst, PlatCollectorFileName());
  if (!GetTempFilePath("tst", szDumpPath)) return 0;
  // Unquoted, as the collector expects: it takes everything after its own
  // name as the dump path, so blanks in the path survive.
  char commandLine[2 * kMaxPath + 2];
  snprintf(commandLine, sizeof commandLine, "%s %s", collector.c_str(), szDumpPath);
  return TimedProcess(commandLine, kInfinite, nullptr) ? 1 : 0;
}

int GetTempFilePath(const char* szRoot, char (&szTempPath)[260]) {
  char directory[kMaxPath];
  if (!PlatGetTempPath(directory, sizeof directory)) return 0;
  if (!PlatGetTempFileName(directory, szRoot, szTempPath)) return 0;
  return 1;
}

int TimedProcess(const char* lpCommandLine, uint32_t dwTimeout, uint32_t* pdwProcessExitCode) {
  if (UsesFixedCollectorTime(iCurrentLanguage)) {
    PlatStartAndForget(lpCommandLine);
    PlatSleep(kFixedCollectorTimeMs);
    return 1;
  }
  QHANDLE process = PlatStartProcessHidden(lpCommandLine);
  if (!process) return 0;
  if (!PlatWaitProcess(process, dwTimeout)) PlatTerminateProcess(process, 1);

  uint32_t localExitCode = kStillActive;
  uint32_t* exitCode = pdwProcessExitCode ? pdwProcessExitCode : &localExitCode;
  bool finished = false;
  for (int poll = 0; poll < kExitCodePolls; ++poll) {
    if (PlatGetExitCodeProcess(process, exitCode) && *exitCode != kStillActive) {
      finished = true;
      break;
    }
    if (poll + 1 < kExitCodePolls) PlatSleep(kPollIntervalMs);
  }
  PlatCloseProcess(process);
  return finished ? 1 : 0;
}
