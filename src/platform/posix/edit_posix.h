// The emulated edit control shared by the POSIX platform files.
#pragma once

#include <string>
#include <vector>

struct EditControl {
  std::string text;
  std::vector<int> tabStops;  // dialog units, as EM_SETTABSTOPS takes them
  int fd = -1;                // host's file descriptor (W=), or -1
};

// Writes every byte, retrying short writes; false on an error.
bool WriteAll(int fd, const std::string& bytes);
// The text for a terminal: tabs expanded to the control's stops, CR LF as LF.
std::string TerminalText(const EditControl& edit);
