// Report text: appending to the edit control, headings, separators, tab stops
// and redraw suspension, in window mode and HTML mode.
#include <cstdio>
#include <cstring>

#include "format_checked.h"
#include "qmrkw32.h"

HLISTWINDOW_ARRAY_struct wnd_data;
int iEditOutOfSpace = 0;
uint32_t dwFlags = 0;

namespace {

constexpr uint32_t kTabStopMarkerFlag = 0x80000000u;

bool HtmlMode(const HLISTWINDOW_ARRAY_struct* lpwnd_data) { return lpwnd_data->iHTMLOutput != 0; }

// Heading text upper-cased in a 256-byte working copy, as the window shows it.
void UpperCaseHeading(const char* lpszHeader, char (&out)[256]) {
  CopyText(out, sizeof out, lpszHeader ? lpszHeader : "");
  PlatCharUpper(out, strlen(out));
}

void WriteHtmlHeading(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszHeader,
                      int iHeadingLevel) {
  int level = (iHeadingLevel >= 1 && iHeadingLevel <= 6) ? iHeadingLevel : 7;
  char snippet[32];
  snprintf(snippet, sizeof snippet, "Heading%i", level);
  QMRKOutputToFileFromINI(lpwnd_data, snippet);
  QMRKOutputTextToFile(lpwnd_data, lpszHeader ? lpszHeader : "");
  snprintf(snippet, sizeof snippet, "EndHeading%i", level);
  QMRKOutputToFileFromINI(lpwnd_data, snippet);
  // A level-1 heading is followed by a rule even without the codes file.
  QMRKOutputToFile(lpwnd_data, level == 1 ? "\r\n<hr>\r\n<br>\r\n" : "\r\n");
}

}  // namespace

int AddText(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszText) {
  if (iEditOutOfSpace) return 1;
  // A refused append raises the out-of-space notification in the window that
  // owns the control; the caller learns of it through iEditOutOfSpace.
  PlatEditAppend(lpwnd_data->heditWnd, lpszText ? lpszText : "");
  return 0;
}

int QMRKAddText(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszText) {
  if (!HtmlMode(lpwnd_data)) return AddText(lpwnd_data, lpszText);
  if (!g_iQMRKShowOutput) return 1;
  return QMRKOutputTextToFile(lpwnd_data, lpszText);
}

int QMRKClearWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (HtmlMode(lpwnd_data)) return 1;
  PlatEditClear(lpwnd_data->heditWnd);
  iEditOutOfSpace = 0;
  return 0;
}

int QMRKCreateSeparatorLine(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (!HtmlMode(lpwnd_data)) return 1;
  QMRKOutputToFileFromINI(lpwnd_data, "Separator");
  return QMRKOutputToFile(lpwnd_data, "\r\n");
}

int QMRKAddHeader(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszHeader) {
  char upper[256];
  UpperCaseHeading(lpszHeader, upper);
  if (HtmlMode(lpwnd_data)) return QMRKAddHeader2(lpwnd_data, upper, 1);
  char line[sizeof upper + 8];
  snprintf(line, sizeof line, "\r\n%s\r\n\r\n", upper);
  AddText(lpwnd_data, line);
  return 0;
}

int QMRKAddHeader2(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszHeader,
                   int iHeadingLevel) {
  if (!HtmlMode(lpwnd_data)) {
    if (iHeadingLevel == 0 || iHeadingLevel == -1) return 1;
    return QMRKAddHeader(lpwnd_data, lpszHeader);
  }
  if (!g_iQMRKShowOutput) return 1;
  if (iHeadingLevel == 0) {
    QMRKOutputToFileINISection(lpwnd_data, "HTMLHeader");
  } else if (iHeadingLevel == -1) {
    QMRKOutputToFileINISection(lpwnd_data, "HTMLFooter");
  } else {
    WriteHtmlHeading(lpwnd_data, lpszHeader, iHeadingLevel);
  }
  return 0;
}

int QMRKSetTabStops(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const int* lpwTabStops) {
  if (HtmlMode(lpwnd_data)) return 0;
  int nFontWidth = 0;
  if (!PlatEditAverageCharWidth(lpwnd_data->heditWnd, &nFontWidth)) return -1;
  int wDialogUnitWidth = PlatDialogBaseUnitWidth() & 0xFFFF;
  if (wDialogUnitWidth == 0) wDialogUnitWidth = 1;  // never divide by zero

  int converted[kMaxTabStops];
  int kept[kMaxTabStops];
  int count = 0;
  while (lpwTabStops && count < kMaxTabStops && lpwTabStops[count] != 0) {
    int c = lpwTabStops[count];
    kept[count] = c;
    // Eight dialog units per character: the report's columns are spaced for
    // a proportional font whose average width undercounts wide captions.
    converted[count] =
        static_cast<int>(static_cast<int64_t>(c) * nFontWidth * 8 / wDialogUnitWidth);
    ++count;
  }
  PlatEditSetTabStops(lpwnd_data->heditWnd, count, converted);

  if (dwFlags & kTabStopMarkerFlag) {
    char marker[32 + kMaxTabStops * 14];
    size_t used = static_cast<size_t>(snprintf(marker, sizeof marker, "{TABSTOPS="));
    for (int i = 0; i < count && used < sizeof marker; ++i) {
      used += static_cast<size_t>(
          snprintf(marker + used, sizeof marker - used, i ? ", %i" : "%i", kept[i]));
    }
    if (used < sizeof marker) snprintf(marker + used, sizeof marker - used, "}\r\n");
    AddText(lpwnd_data, marker);
  }
  PlatEditInvalidate(lpwnd_data->heditWnd);
  return 0;
}

int QMRKSuspendRedraw(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iSuspend) {
  if (HtmlMode(lpwnd_data)) return 0;
  PlatEditSetRedraw(lpwnd_data->heditWnd, iSuspend == 0);
  return 0;
}
