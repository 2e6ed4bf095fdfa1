// HTML report file: kept open for the run and written in whole lines (see
// OutputFile); flushed before the viewer waits for the collector and closed
// at the end of the report. Mark-up snippets come from the HTML codes file
// beside the program and are read once per report.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "addpath.h"
#include "html_text.h"
#include "output_file.h"
#include "qmrkw32.h"

int g_iQMRKShowOutput = 1;

namespace {

constexpr unsigned kSnippetSize = 200;

OutputFile htmlFile;

// Snippets already read in this report, by section and key; a snippet
// missing from the codes file is kept as empty.
std::map<std::string, std::string> snippets;

// Full path of the codes file, copied out of AddPath's shared buffer.
std::string HtmlCodesPath(const HLISTWINDOW_ARRAY_struct* lpwnd_data) {
  return AddPath(lpwnd_data->hInstance, kHtmlCodesFile);
}

const std::string& ReadCode(const HLISTWINDOW_ARRAY_struct* lpwnd_data, const char* section,
                            const char* key) {
  const std::string name = std::string(section) + '\n' + key;
  auto found = snippets.find(name);
  if (found != snippets.end()) return found->second;
  char value[kSnippetSize];
  PlatGetPrivateProfileString(section, key, "", value, sizeof value,
                              HtmlCodesPath(lpwnd_data).c_str());
  return snippets.emplace(name, value).first->second;
}

// The output file's failure is told once per report, not once per line.
void ReportOutputFailure(const char* path) {
  static std::string reported;
  if (reported == path) return;
  reported = path;
  PlatReportFailure(std::string("cannot write the report to ") + path + ": " + strerror(errno));
}

}  // namespace

int QMRKOutputToFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszString) {
  if (!lpwnd_data->iHTMLOutput || !lpszString || !*lpszString) return 1;
  if (!OutputOpen(htmlFile, lpwnd_data->szOutputFile)) {
    ReportOutputFailure(lpwnd_data->szOutputFile);
    return 1;
  }
  OutputAppend(htmlFile, lpszString);
  return 0;
}

int QMRKFlushOutputFile() {
  if (OutputFlush(htmlFile)) return 0;
  ReportOutputFailure(htmlFile.path.c_str());
  return 1;
}

int QMRKCloseOutputFile() {
  snippets.clear();
  const std::string path = htmlFile.path;
  if (OutputClose(htmlFile)) return 0;
  ReportOutputFailure(path.c_str());
  return 1;
}

int QMRKOutputTextToFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszText) {
  if (!lpszText) return 1;
  // Captions and firmware strings are narrow text, the document is UTF-8:
  // converted, with mark-up characters as entities and the characters HTML
  // forbids replaced, no firmware string can open an element or an
  // attribute or make the document invalid. Mark-up snippets bypass this.
  const std::string escaped = HtmlEscapedText(PlatTextToUtf8(lpszText));
  return QMRKOutputToFile(lpwnd_data, escaped.c_str());
}

int QMRKOutputToFileFromINI(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszStringName) {
  const std::string& value = ReadCode(lpwnd_data, "HTMLCodes", lpszStringName);
  if (value.empty()) return 1;
  return QMRKOutputToFile(lpwnd_data, value.c_str());
}

int QMRKOutputToFileINISection(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszSectionName) {
  // Lines are numbered 1, 2, 3, ...; the first gap ends the section.
  for (int i = 1;; ++i) {
    char key[16];
    snprintf(key, sizeof key, "%i", i);
    const std::string& value = ReadCode(lpwnd_data, lpszSectionName, key);
    if (value.empty()) break;
    QMRKOutputToFile(lpwnd_data, value.c_str());
    QMRKOutputToFile(lpwnd_data, "\r\n");
  }
  return 0;
}

int QMRKShowOutput(int NewQMRKShowOutputFlag) {
  if (NewQMRKShowOutputFlag != 0 && NewQMRKShowOutputFlag != 1) return 0;
  g_iQMRKShowOutput = NewQMRKShowOutputFlag;
  return 1;
}
