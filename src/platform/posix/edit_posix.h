// The emulated edit control shared by the POSIX platform files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct EditControl {
  std::string text;           // the text, less what was streamed out already
  std::vector<int> tabStops;  // dialog units, as EM_SETTABSTOPS takes them
  int fd = -1;                // host's file descriptor (W=), or -1
  // The report window writes its text to this descriptor in whole lines as a
  // chunk gathers, so a long report is not held whole in memory; -1 keeps it.
  int streamTo = -1;
  bool terminal = false;  // streamTo is a terminal: tabs expanded
  size_t streamed = 0;    // bytes written out and dropped from text
};

// Writes every byte, retrying short writes; false on an error.
bool WriteAll(int fd, const std::string& bytes);
// The text for a terminal: tabs expanded to the control's stops, CR LF as LF.
std::string TerminalText(const EditControl& edit);
std::string TerminalText(std::string_view text, const std::vector<int>& tabStops);
// Writes the control's whole lines (all: everything) to streamTo.
void StreamEditText(EditControl& edit, bool all);
