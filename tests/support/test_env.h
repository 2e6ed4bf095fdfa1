// Test utilities: temporary directories and a clean report state between
// tests (the report library keeps process-wide state).
#pragma once

#include <string>

struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Full path of a file in the directory.
  std::string File(const std::string& name) const;
  std::string path;
};

// Zeroes the report-window record, the output flags and the table state, and
// turns output on again.
void ResetReportState();
// The report's HTML and property files are complete once closed: tests close
// them before reading.
void CloseReportFiles();
