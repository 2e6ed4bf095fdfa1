// Report library: one vocabulary (text, headings, tab stops, tables) for the
// report window's edit control and the HTML report file, plus the property
// (INI) writers.
#pragma once

#include <cstdint>

#include "platform.h"

// Refill callback of the report window: message 1 asks for the report again.
using QMRKCallBack = int(QMRK_STDCALL*)(uint16_t wMessage, uintptr_t wParam, intptr_t lParam);
// Window procedure registered for the report window's class.
using QMRKWndProcFn = intptr_t(QMRK_STDCALL*)(QHANDLE hWnd, unsigned message, uintptr_t wParam,
                                              intptr_t lParam);

// The wFlags bits (kWnd...) are the window's own: plat_report_window.h.

struct HLISTWINDOW_ARRAY_struct {
  QHANDLE hWnd;
  QHANDLE heditWnd;
  QHANDLE hInstance;
  QMRKCallBack lpCallBack;
  QMRKWndProcFn lpWndProc;
  uint16_t wFlags;
  char wndclassname[20];
  char cHelpFileName[256];
  char cHelpContext[80];
  QHANDLE hExtraData;
  void* lpExtraData;
  uint32_t crTextColor;
  uint32_t crBkColor;
  QHANDLE hBrush;
  QHANDLE hFont;
  char szOutputFile[260];
  int iHTMLOutput;
  int iSpecialTableActive;
  int iIniOutput;
};
using LPHLISTWINDOW_ARRAY_struct = HLISTWINDOW_ARRAY_struct*;

// The one report-window record of the process.
extern HLISTWINDOW_ARRAY_struct wnd_data;

// Library state.
extern int iTableCounter;
extern int iEditOutOfSpace;
extern int g_iQMRKShowOutput;
extern char szQMRKATTETempString[2048];
extern char szQMRKBTTTStr[10][80];
// Invocation flags; bit 31 asks for the tab-stop marker line.
extern uint32_t dwFlags;

constexpr int kMaxTableCells = 20;
constexpr int kMaxHeadingColumns = 10;
constexpr int kMaxTabStops = 20;

// Text and headings.
int AddText(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszText);
int QMRKAddText(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszText);
int QMRKClearWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
int QMRKCreateSeparatorLine(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
int QMRKAddHeader(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszHeader);
int QMRKAddHeader2(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszHeader,
                   int iHeadingLevel);
int QMRKSetTabStops(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const int* lpwTabStops);
int QMRKSuspendRedraw(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iSuspend);

// Tables.
int QMRKBeginTable(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iNumColumns,
                   const char* const* pszColumnHeader);
int QMRKBeginTable2(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iNumColumns,
                    const char* const* pszColumnHeader);
int QMRKAddTableEntry(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int iNumColumns,
                      const char* const* pszColumnData);
int QMRKEndTable(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
int QMRKAddTabbedTableEntry(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszString);
int QMRKAddTabbedTableEntryNoDupTabs(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszString);
int QMRKAddTabbedTableEntryWorker(LPHLISTWINDOW_ARRAY_struct lpwnd_data, char* pszString);
int QMRKBeginTableTabbedTwoLine(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszLine1,
                                const char* pszLine2);
int QMRKBeginTableTabbedTwoLine2(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* pszLine1,
                                 const char* pszLine2);

// HTML file sink.
int QMRKOutputToFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszString);
int QMRKOutputToFileFromINI(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszStringName);
int QMRKOutputToFileINISection(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszSectionName);
// Report text (not mark-up) into the HTML file, with the characters that
// would open or close mark-up written as entities.
int QMRKOutputTextToFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszText);
int QMRKShowOutput(int NewQMRKShowOutputFlag);
// The HTML file stays open for the report and is written in whole lines:
// flushing makes the file hold everything written so far (done before the
// viewer waits), closing ends the report's use of it. 0 on success.
int QMRKFlushOutputFile();
int QMRKCloseOutputFile();

// Property (INI) sink: section "Settings" of wnd_data.szOutputFile.
int WritePropertyString(const char* pszPropertyKey, const char* pszValue);
int WritePropertyDword(const char* pszPropertyKey, uint32_t dwValue);
// Keys are appended in chunks and replacements written at the end: closing
// makes the file complete. 1 on success.
int ClosePropertyFile();

// Name of the HTML codes file beside the program.
constexpr const char* kHtmlCodesFile = "QMRKW32H.INI";
