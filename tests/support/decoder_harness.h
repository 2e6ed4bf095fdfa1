// Test utility: runs the structure decoder in one of its three sinks (window
// text, HTML table entries, properties) and collects what that sink got.
// Free of the test framework, so that fixtures decide what a failure is.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "dmi_rows.h"
#include "dump_builder.h"
#include "expected_report.h"
#include "test_env.h"

enum class Sink { kText, kHtml, kIni };

// True where the window text cannot be looked at: Windows builds have no
// emulated edit control.
bool NoEditControl();

// How often part stands in text (overlapping places counted).
size_t Count(const std::string& text, const std::string& part);

// Writes a DMI.DAT with the given plain lines, scrambled as the reader
// expects them.
void WriteDmiDat(const std::string& path, const std::vector<std::string>& lines);

// Runs a whole dump file through the dump reader; false when it cannot be
// opened.
bool ReadDumpFile(const std::string& path);

// One dump's decoding: the state the decoder carries from one structure of
// the dump to the next.
struct DumpState {
  DmiDumpState dmi;

  // Decodes the structure at the start of buffer; the decoder may read the
  // whole buffer.
  int PrintBuffer(Bytes& buffer);
  // Decodes one structure from a buffer of capacity bytes (the structure's
  // own size when that is larger); the bytes after the structure are garbage.
  int Print(const Bytes& structure, size_t capacity = 0);
  // Closes a port connector or slot table still pending, as the dump reader
  // does at the end of a dump.
  void Finish();
};

// A decoder test: clean report state, a directory of its own and the sinks.
class DecoderHarness {
 public:
  // Report state cleared, the default language. With DMI.DAT lines, the test
  // directory also becomes the current one (DMI.DAT is read from there) and
  // gets a DMI.DAT with those lines. False when the directory cannot be
  // entered.
  bool Start();
  bool Start(const std::vector<std::string>& dmiDat);
  // Report state cleared, the default language again and, after Start with
  // DMI.DAT, the old current directory. False when that cannot be entered.
  bool Stop();

  // Runs body with the report going to sink and returns what that sink got:
  // the window text, the HTML file or the property file.
  std::string Run(Sink sink, const std::function<void()>& body);

  // One property of the last property run, exactly as the file holds it
  // (a profile reader would drop leading and trailing blanks); "<none>" when
  // the key is missing.
  std::string Property(const std::string& key) const;

  TempDir dir;
  // What Run returns for the window text where there is no edit control.
  std::string noEditControlText = "<no edit control>";

 private:
  std::string oldDir_;
};
