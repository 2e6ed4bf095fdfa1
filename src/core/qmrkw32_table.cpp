// Tables of the report: in HTML mode rows and cells wrapped in the codes of
// the HTML codes file; in window mode only the bookkeeping runs, since every
// file write is refused there.
#include <cstdio>
#include <cstring>

#include "format_checked.h"
#include "qmrkw32.h"
#include "tabbed_cells.h"

int iTableCounter = 0;
char szQMRKATTETempString[2048];
char szQMRKBTTTStr[10][80];

namespace {

const char kThreeSpaces[] = "   ";

void CopyToWorkingString(const char* text) {
  CopyText(szQMRKATTETempString, sizeof szQMRKATTETempString, text ? text : "");
}

void AppendToHeadingSlot(char (&slot)[80], const char* text) {
  size_t used = strlen(slot);
  if (used < sizeof slot - 1) CopyText(slot + used, sizeof slot - used, text);
}

// One pass over a heading line: cell k goes into slot k. Returns the cells.
int AddHeadingLine(const char* line, bool spaceAfterCell) {
  CopyToWorkingString(line);
  char* cells[kMaxHeadingColumns];
  int count = CutHeadingCells(szQMRKATTETempString, cells, kMaxHeadingColumns);
  for (int k = 0; k < count; ++k) {
    AppendToHeadingSlot(szQMRKBTTTStr[k], cells[k]);
    if (spaceAfterCell) AppendToHeadingSlot(szQMRKBTTTStr[k], " ");
  }
  return count;
}

}  // namespace

int QMRKBeginTable(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iNumColumns,
                   const char* const* pszColumnHeader) {
  if (!g_iQMRKShowOutput) return 1;
  lpwnd_data->iSpecialTableActive = 0;
  ++iTableCounter;
  QMRKOutputToFileFromINI(lpwnd_data, "Table");
  QMRKOutputToFile(lpwnd_data, "\r\n");
  for (int i = 0; pszColumnHeader && i < iNumColumns; ++i) {
    QMRKOutputToFileFromINI(lpwnd_data, "TableHeader");
    QMRKOutputTextToFile(lpwnd_data, pszColumnHeader[i]);
    QMRKOutputToFileFromINI(lpwnd_data, "EndTableHeader");
    QMRKOutputToFile(lpwnd_data, "\r\n");
  }
  return 0;
}

int QMRKBeginTable2(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iNumColumns,
                    const char* const* pszColumnHeader) {
  if (!g_iQMRKShowOutput) return 1;
  int result = QMRKBeginTable(lpwnd_data, iNumColumns, pszColumnHeader);
  lpwnd_data->iSpecialTableActive = 1;
  return result;
}

int QMRKAddTableEntry(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iNumColumns,
                      const char* const* pszColumnData) {
  if (!g_iQMRKShowOutput) return 1;
  QMRKOutputToFile(lpwnd_data, "\r\n");
  QMRKOutputToFileFromINI(lpwnd_data, "TableRecord");
  QMRKOutputToFile(lpwnd_data, "\r\n");
  for (int i = 0; pszColumnData && i < iNumColumns; ++i) {
    bool lineHeader = lpwnd_data->iSpecialTableActive && i == 0;
    QMRKOutputToFileFromINI(lpwnd_data, lineHeader ? "TableLineHeader" : "TableItem");
    QMRKOutputTextToFile(lpwnd_data, pszColumnData[i]);
    QMRKOutputToFileFromINI(lpwnd_data, lineHeader ? "EndTableLineHeader" : "EndTableItem");
    QMRKOutputToFile(lpwnd_data, "\r\n");
  }
  QMRKOutputToFileFromINI(lpwnd_data, "EndTableRecord");
  QMRKOutputToFile(lpwnd_data, "\r\n");
  return 0;
}

int QMRKEndTable(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  if (!g_iQMRKShowOutput) return 1;
  if (iTableCounter <= 0) return 1;
  --iTableCounter;
  QMRKOutputToFileFromINI(lpwnd_data, "EndTable");
  QMRKOutputToFile(lpwnd_data, "\r\n");
  lpwnd_data->iSpecialTableActive = 0;
  return 0;
}

int QMRKAddTabbedTableEntryWorker(LPHLISTWINDOW_ARRAY_struct lpwnd_data, char* pszString) {
  if (!g_iQMRKShowOutput) return 1;
  char* cells[kMaxTableCells];
  int count = CutRowCells(pszString, cells, kMaxTableCells);
  const char* shown[kMaxTableCells];
  for (int i = 0; i < count; ++i) shown[i] = *cells[i] ? cells[i] : kThreeSpaces;
  return QMRKAddTableEntry(lpwnd_data, count, shown);
}

int QMRKAddTabbedTableEntry(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszString) {
  if (!g_iQMRKShowOutput) return 1;
  CopyToWorkingString(pszString);
  return QMRKAddTabbedTableEntryWorker(lpwnd_data, szQMRKATTETempString);
}

int QMRKAddTabbedTableEntryNoDupTabs(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszString) {
  if (!g_iQMRKShowOutput) return 1;
  CopyToWorkingString(pszString);
  // A run of k TABs becomes k-1 blanks and one TAB: one separator.
  for (char* p = strstr(szQMRKATTETempString, "\t\t"); p; p = strstr(p, "\t\t")) *p = ' ';
  return QMRKAddTabbedTableEntryWorker(lpwnd_data, szQMRKATTETempString);
}

int QMRKBeginTableTabbedTwoLine(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszLine1,
                                const char* pszLine2) {
  if (!g_iQMRKShowOutput) return 1;
  for (auto& slot : szQMRKBTTTStr) slot[0] = '\0';
  int iMaxColumns = AddHeadingLine(pszLine1, true);
  if (pszLine2) {
    int second = AddHeadingLine(pszLine2, false);
    if (second > iMaxColumns) iMaxColumns = second;
  }
  const char* headings[kMaxHeadingColumns];
  for (int i = 0; i < iMaxColumns; ++i) {
    if (szQMRKBTTTStr[i][0] == '\0') snprintf(szQMRKBTTTStr[i], sizeof szQMRKBTTTStr[i], " ");
    headings[i] = szQMRKBTTTStr[i];
  }
  return QMRKBeginTable(lpwnd_data, iMaxColumns, headings);
}

int QMRKBeginTableTabbedTwoLine2(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszLine1,
                                 const char* pszLine2) {
  if (!g_iQMRKShowOutput) return 1;
  int result = QMRKBeginTableTabbedTwoLine(lpwnd_data, pszLine1, pszLine2);
  lpwnd_data->iSpecialTableActive = 1;
  return result;
}
