#include "test_env.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <random>

#include "dmi_rows.h"
#include "qmrkw32.h"
#include "sink_state.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device random;
  for (;;) {
    fs::path candidate = fs::temp_directory_path() / ("syslens-test-" + std::to_string(random()) +
                                                      "-" + std::to_string(counter++));
    if (fs::create_directory(candidate)) {
      path = candidate.string();
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

std::string TempDir::File(const std::string& name) const {
  return (fs::path(path) / name).string();
}

void CloseReportFiles() {
  QMRKCloseOutputFile();
  ClosePropertyFile();
}

void ResetReportState() {
  CloseReportFiles();
  memset(&wnd_data, 0, sizeof wnd_data);
  bEdit = bHTML = bData = 0;
  iTableCounter = 0;
  // Numbers in property keys: each viewer process makes one report.
  ProcessKeyCounters() = DmiKeyCounters();
  iEditOutOfSpace = 0;
  g_iQMRKShowOutput = 1;
  dwFlags = 0;
}
