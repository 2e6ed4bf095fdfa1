// The run sequence: prepare the sink, run the collector into a temporary
// dump, read the dump, remove it, close the sink.
#include "run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "addpath.h"
#include "dmi_rows.h"
#include "dump_reader.h"
#include "int_str.h"
#include "qmrkw32.h"
#include "sink_state.h"

namespace {

// Languages 2, 15 and 24 are the Simplified Chinese, Japanese and Traditional
// Chinese resource sets. The suite's editions in them started the collector
// without a process to wait for and read the dump after a fixed ten seconds,
// and their collectors are made to finish within that time; so these runs
// keep the fixed wait (the dump is read then, whether it is finished or not,
// and an unfinished one gives no report) instead of waiting for the exit.
bool UsesFixedCollectorTime(int language) {
  return language == 2 || language == 15 || language == 24;
}

constexpr int kExitCodePolls = 16;
constexpr uint32_t kPollIntervalMs = 1000;
constexpr uint32_t kFixedCollectorTimeMs = 10000;

// The collector of the last run and its exit code, for the message when its
// dump gives no report.
std::string collectorPath;
uint32_t collectorExitCode = kStillActive;

// A dump that is not marked complete gives no report at all; say why.
void ReportIncompleteDump(FILE* input) {
  CDMIFileHeader header;
  rewind(input);
  if (ReadFileHeader(input, &header) && header.m_bWroteAllData != 0) return;
  std::string text = "the collector " + collectorPath + " wrote no complete dump";
  // What the collector's codes mean (docs/collector.md), so that a user
  // without root learns why there is no report.
  static const char* const kMeanings[] = {
      nullptr, "no dump path", "the dump file could not be written",
      "the saved table is missing or unusable",
      "the firmware's tables cannot be read (they are root's on Linux) or used"};
  if (collectorExitCode != kStillActive) {
    text += " (exit code " + std::to_string(collectorExitCode);
    if (collectorExitCode < sizeof kMeanings / sizeof kMeanings[0] && kMeanings[collectorExitCode])
      text += std::string(": ") + kMeanings[collectorExitCode];
    text += ")";
  }
  PlatReportFailure(text);
}

}  // namespace

void ReportIntoSinks(const std::function<void()>& decode) {
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
  decode();
  if (bEdit) QMRKSuspendRedraw(&wnd_data, 0);
  if (bHTML) {
    QMRKAddHeader2(&wnd_data, nullptr, -1);
    QMRKCloseOutputFile();
  }
  if (bData) ClosePropertyFile();
}

void FillScreen() {
  ReportIntoSinks([] { dmi_info(); });
}

int dmi_info() {
  char szDumpPath[260] = "";
  FILE* input = nullptr;
  const int ran = RunPROBEX(szDumpPath, &input);
  // The collector has ended (or was ended): the name goes now, and the dump
  // is read through the handle made with the file, never by name again, so
  // a name swapped meanwhile cannot show another file.
  if (szDumpPath[0]) PlatDeleteFile(szDumpPath);
  if (!ran || !input) {
    if (input) fclose(input);
    return 0;
  }
  HoldDmiDat(true);
  const int shown = display_dmi_info(input);
  HoldDmiDat(false);
  if (!shown) ReportIncompleteDump(input);
  fclose(input);
  return shown ? 1 : 0;
}

int RunPROBEX(char (&szDumpPath)[260], FILE** input) {
  const std::string collector = AddPath(ghInst, PlatCollectorFileName());
  if (!GetTempFilePath("tst", szDumpPath, input)) return 0;
  // The dump path goes unquoted, as the collector expects: it takes
  // everything after its own name as the dump path, so blanks in the path
  // survive.
  collectorExitCode = kStillActive;
  collectorPath = collector;
  return TimedProcess(collector.c_str(), szDumpPath, kInfinite, &collectorExitCode) ? 1 : 0;
}

int GetTempFilePath(const char* szRoot, char (&szTempPath)[260], FILE** file) {
  char directory[kMaxPath];
  if (!PlatGetTempPath(directory, sizeof directory)) {
    PlatReportFailure("no temporary directory");
    return 0;
  }
  *file = PlatCreateTempFile(directory, szRoot, szTempPath);
  if (!*file) {
    PlatReportFailure(std::string("cannot create a temporary file in ") + directory + ": " +
                      strerror(errno));
    return 0;
  }
  return 1;
}

int TimedProcess(const char* program, const char* argument, uint32_t dwTimeout,
                 uint32_t* pdwProcessExitCode) {
  uint32_t localExitCode = kStillActive;
  uint32_t* exitCode = pdwProcessExitCode ? pdwProcessExitCode : &localExitCode;
  QHANDLE process = PlatStartProcessHidden(program, argument);
  if (!process) PlatReportFailure(std::string("cannot start the collector ") + program);
  if (UsesFixedCollectorTime(iCurrentLanguage)) {
    // The collector has its ten seconds, and is ended if it runs longer:
    // it must not write into a dump that is being read or already gone.
    if (!process) return 1;
    if (!PlatWaitProcess(process, kFixedCollectorTimeMs)) {
      PlatReportFailure(std::string("the collector ") + program +
                        " did not finish in 10 seconds and was ended");
      PlatTerminateProcess(process, 1);
    } else {
      PlatGetExitCodeProcess(process, exitCode);
    }
    PlatCloseProcess(process);
    return 1;
  }
  if (!process) return 0;
  if (!PlatWaitProcess(process, dwTimeout)) PlatTerminateProcess(process, 1);

  bool finished = false;
  for (int poll = 0; poll < kExitCodePolls; ++poll) {
    if (PlatGetExitCodeProcess(process, exitCode) && *exitCode != kStillActive) {
      finished = true;
      break;
    }
    if (poll + 1 < kExitCodePolls) PlatSleep(kPollIntervalMs);
  }
  if (!finished) {
    PlatReportFailure(std::string("the collector ") + program + " did not finish; it is ended");
    PlatTerminateProcess(process, 1);
  }
  PlatCloseProcess(process);
  return finished ? 1 : 0;
}
