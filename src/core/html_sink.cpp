// HTML report file: every write opens the file, appends and closes it, so the
// file is complete after each call. Mark-up snippets come from the HTML codes
// file beside the program.
#include <cstdio>
#include <cstring>
#include <string>

#include "addpath.h"
#include "qmrkw32.h"

int g_iQMRKShowOutput = 1;

namespace {

constexpr unsigned kSnippetSize = 200;

// Full path of the codes file, copied out of AddPath's shared buffer.
std::string HtmlCodesPath(const HLISTWINDOW_ARRAY_struct* lpwnd_data) {
  return AddPath(lpwnd_data->hInstance, kHtmlCodesFile);
}

void ReadCode(const HLISTWINDOW_ARRAY_struct* lpwnd_data, const char* section,
              const char* key, char (&value)[kSnippetSize]) {
  PlatGetPrivateProfileString(section, key, "", value, sizeof value,
                              HtmlCodesPath(lpwnd_data).c_str());
}

}  // namespace

int QMRKOutputToFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data,
                     const char* lpszString) {
  if (!lpwnd_data->iHTMLOutput || !lpszString || !*lpszString) return 1;
  FILE* file = fopen(lpwnd_data->szOutputFile, "ab");
  if (!file) return 1;
  fwrite(lpszString, 1, strlen(lpszString), file);
  fclose(file);
  return 0;
}

int QMRKOutputTextToFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data,
                         const char* lpszText) {
  if (!lpszText) return 1;
  // Firmware strings reach the report unchanged; written as entities, their
  // mark-up characters stay text and cannot open elements or attributes.
  std::string escaped;
  escaped.reserve(strlen(lpszText) + 16);
  for (const char* p = lpszText; *p; ++p) {
    switch (*p) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += *p; break;
    }
  }
  return QMRKOutputToFile(lpwnd_data, escaped.c_str());
}

int QMRKOutputToFileFromINI(LPHLISTWINDOW_ARRAY_struct lpwnd_data,
                            const char* lpszStringName) {
  char value[kSnippetSize];
  ReadCode(lpwnd_data, "HTMLCodes", lpszStringName, value);
  if (!value[0]) return 1;
  return QMRKOutputToFile(lpwnd_data, value);
}

int QMRKOutputToFileINISection(LPHLISTWINDOW_ARRAY_struct lpwnd_data,
                               const char* lpszSectionName) {
  // Lines are numbered 1, 2, 3, ...; the first gap ends the section.
  for (int i = 1;; ++i) {
    char key[16];
    snprintf(key, sizeof key, "%i", i);
    char value[kSnippetSize];
    ReadCode(lpwnd_data, lpszSectionName, key, value);
    if (!value[0]) break;
    QMRKOutputToFile(lpwnd_data, value);
    QMRKOutputToFile(lpwnd_data, "\r\n");
  }
  return 0;
}

int QMRKShowOutput(int NewQMRKShowOutputFlag) {
  if (NewQMRKShowOutputFlag != 0 && NewQMRKShowOutputFlag != 1) return 0;
  g_iQMRKShowOutput = NewQMRKShowOutputFlag;
  return 1;
}
