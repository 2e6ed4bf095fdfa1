// Message boxes and the edit control on POSIX. The edit control is a text
// buffer: the own report window prints it to standard output in whole lines
// as chunks gather and the rest when its message loop would start; the
// host's control (W=) is a file descriptor that receives the text when the
// run releases it.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "edit_posix.h"
#include "platform.h"

namespace {

// The emulated font: 8 units wide, and 8 units per dialog base unit, so one
// character spans 4 dialog units as with the Windows system font.
constexpr int kAverageCharWidth = 8;
constexpr int kDialogBaseUnit = 8;
constexpr int kDialogUnitsPerChar = 4;

constexpr size_t kStreamChunk = 64 * 1024;

EditControl* Edit(QHANDLE handle) { return static_cast<EditControl*>(handle); }

// A control character other than TAB and LF at text[i] (CR LF is folded
// before): C0, DEL, or a C1 control (U+0080 to U+009F, C2 80 to C2 9F in the
// control's UTF-8).
bool IsTerminalControl(std::string_view text, size_t i) {
  const auto byte = [&text](size_t k) { return static_cast<unsigned char>(text[k]); };
  if (byte(i) < 0x20 || byte(i) == 0x7F) return true;
  return byte(i) == 0xC2 && i + 1 < text.size() && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F;
}

}  // namespace

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string TerminalText(const EditControl& edit) { return TerminalText(edit.text, edit.tabStops); }

std::string TerminalText(std::string_view text, const std::vector<int>& tabStops) {
  std::vector<int> stops;  // in characters
  for (int units : tabStops) stops.push_back(units / kDialogUnitsPerChar);
  // One stop means a stop every so many characters; none means every 8.
  const int every = stops.size() == 1 && stops[0] > 0 ? stops[0] : 8;
  std::string out;
  out.reserve(text.size());
  size_t column = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\n') {
      out += '\n';
      column = 0;
    } else if (c == '\t') {
      size_t next = (column / every + 1) * every;
      if (stops.size() > 1) {
        next = column + 1;
        for (int stop : stops) {
          if (stop > 0 && static_cast<size_t>(stop) > column) {
            next = static_cast<size_t>(stop);
            break;
          }
        }
      }
      out.append(next - column, ' ');
      column = next;
    } else if (IsTerminalControl(text, i)) {
      // Control characters from firmware strings (ESC, a lone CR, C1 CSI)
      // would drive the terminal: recolour, retitle or overwrite the report.
      // A Windows edit control shows no such effect; a blank takes their place.
      if (c == '\xC2') ++i;
      out += ' ';
      ++column;
    } else {
      out += c;
      // Count characters, not the continuation bytes of UTF-8.
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
    }
  }
  return out;
}

void StreamEditText(EditControl& edit, bool all) {
  if (edit.streamTo < 0) return;
  const size_t lineEnd = edit.text.rfind('\n');
  const size_t length = all ? edit.text.size() : lineEnd == std::string::npos ? 0 : lineEnd + 1;
  if (length == 0) return;
  const std::string_view lines(edit.text.data(), length);
  WriteAll(edit.streamTo, edit.terminal ? TerminalText(lines, edit.tabStops) : std::string(lines));
  edit.text.erase(0, length);
  edit.streamed += length;
}

void PlatMessageBox(QHANDLE, const char* text, const char* caption, MsgIcon) {
  std::string message;
  if (caption && *caption) message = std::string(caption) + ": ";
  message += text ? text : "";
  message += '\n';
  WriteAll(2, message);
}

bool PlatEditAppend(QHANDLE handle, const char* text) {
  if (!Edit(handle) || !text) return false;
  // The control holds characters, as a Windows edit control does: bytes of
  // firmware strings that are no UTF-8 reach the terminal or the host's
  // descriptor as U+FFFD.
  // Controls other than the report's own TAB, CR and LF become blanks on
  // every path (a pipe or a W= descriptor may end at a terminal too): C0,
  // DEL and the C1 controls (C2 80 to C2 9F), such as CSI.
  EditControl& edit = *Edit(handle);
  // Almost every line of a report is printable ASCII, TAB, CR and LF, which
  // both rules leave as it is: such a line goes in whole, without the copy
  // and the walk per character.
  const std::string_view line(text);
  if (std::all_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 0x20 && byte < 0x7F) || c == '\t' || c == '\r' || c == '\n';
      })) {
    edit.text.append(line);
    if (edit.text.size() >= kStreamChunk) StreamEditText(edit, false);
    return true;
  }
  const std::string valid = PlatValidNarrowText(text);
  for (size_t i = 0; i < valid.size(); ++i) {
    const char c = valid[i];
    if (c == '\t' || c == '\r' || c == '\n' || !IsTerminalControl(valid, i)) {
      edit.text += c;
    } else {
      if (c == '\xC2') ++i;
      edit.text += ' ';
    }
  }
  if (edit.text.size() >= kStreamChunk) StreamEditText(edit, false);
  return true;
}

void PlatEditClear(QHANDLE handle) {
  if (!Edit(handle)) return;
  Edit(handle)->text.clear();
  Edit(handle)->streamed = 0;
}

size_t PlatEditTextLength(QHANDLE handle) {
  return Edit(handle) ? Edit(handle)->streamed + Edit(handle)->text.size() : 0;
}

bool PlatEditAverageCharWidth(QHANDLE handle, int* width) {
  if (!Edit(handle)) return false;
  *width = kAverageCharWidth;
  return true;
}

int PlatDialogBaseUnitWidth() { return kDialogBaseUnit; }

void PlatEditSetTabStops(QHANDLE handle, int count, const int* dialogUnits) {
  if (!Edit(handle)) return;
  Edit(handle)->tabStops.assign(dialogUnits, dialogUnits + (count > 0 ? count : 0));
}

void PlatEditInvalidate(QHANDLE) {}
void PlatEditSetRedraw(QHANDLE, bool) {}

QHANDLE PlatAttachHostEdit(uint32_t id) {
  auto* edit = new EditControl;
  edit->fd = static_cast<int>(id);
  return edit;
}

void PlatReleaseHostEdit(QHANDLE handle) {
  EditControl* edit = Edit(handle);
  if (!edit) return;
  if (!WriteAll(edit->fd, edit->text)) {
    PlatReportFailure("cannot write the report to the W= descriptor " + std::to_string(edit->fd) +
                      ": " + strerror(errno));
  }
  delete edit;
}

QHANDLE PlatCreateStdoutEdit() {
  auto* edit = new EditControl;
  // A person at a terminal sees the columns lined up; a pipe gets the
  // control's text byte for byte.
  edit->streamTo = STDOUT_FILENO;
  edit->terminal = isatty(STDOUT_FILENO);
  return edit;
}

void PlatFlushStdoutEdit(QHANDLE handle) {
  if (Edit(handle)) StreamEditText(*Edit(handle), true);
}

void PlatDestroyStdoutEdit(QHANDLE handle) { delete Edit(handle); }
