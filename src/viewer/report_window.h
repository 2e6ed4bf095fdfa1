// The report window: a frame with a menu around a read-only edit control
// that holds the report text. Win32 shows a real window; POSIX keeps the
// text and writes it to standard output when the message loop would start.
// What both do with the record and the font choice is report_window.cpp.
#pragma once

#include <cstdint>

#include "platform.h"
#include "qmrkw32.h"

// 1: created and shown; -1: not created (a window of that title exists and
// was asked to refill, or a creation step failed).
int16_t QMRKCreateTextWindow(QHANDLE hInstance, const char* lpszWindowTitle,
                             const char* lpszHelpFile, const char* lpszHelpContext,
                             uint16_t wOriginX, uint16_t wOriginY, uint16_t wExtentX,
                             uint16_t wExtentY, QHANDLE hIcon, int nCmdShow,
                             LPHLISTWINDOW_ARRAY_struct lpwnd_data, QMRKWndProcFn lpWndProc,
                             QMRKCallBack lpCallBack);
// Runs the message loop until the window closes; the quit message's code.
intptr_t QMRKExecute(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
int QMRKCloseWindow(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
intptr_t QMRKWndProc(QHANDLE hWnd, unsigned message, uintptr_t wParam, intptr_t lParam,
                     LPHLISTWINDOW_ARRAY_struct lpwnd_data);

// Identifiers the window and its users (host, tests) share.
constexpr int kReportEditId = 111;
constexpr uintptr_t kRefillWParam = 12345;
constexpr intptr_t kRefillLParam = 1234567;
enum ReportCommand : uint16_t {
  kCmdExit = 101,
  kCmdCopy = 102,
  kCmdNextVersion1 = 103,
  kCmdNextVersion2 = 104,
  kCmdHelp = 105,  // F1
  kCmdAbout = 106,
  kCmdSmallFont = 107,
  kCmdSaveAs = 108,
  kCmdRefresh = 109,
  kCmdLargeFont = 110,
};

// Font size: nonzero small; read from the profile at creation, written at close.
extern int default_font_is_small;
void ReadFontChoice();
void WriteFontChoice();
// Fills the record of a window about to be made: no brush or font yet, black
// text on grey, the help file and context (null: none), the procedure and
// the refill callback.
void InitialiseWindowRecord(LPHLISTWINDOW_ARRAY_struct lpwnd_data, QHANDLE hInstance,
                            const char* lpszHelpFile, const char* lpszHelpContext,
                            QMRKWndProcFn lpWndProc, QMRKCallBack lpCallBack);
// Empties the record of a closed window (its brush and font are freed by the
// window first).
void ResetWindowRecord(LPHLISTWINDOW_ARRAY_struct lpwnd_data);

// Error numbers of log saving, shown by PutUpSaveErrorMsg.
constexpr int kSaveErrorLock = 2;
constexpr int kSaveErrorMemory = 3;
constexpr int kSaveErrorEmpty = 4;
constexpr int kSaveErrorCreate = 5;

#if defined(_WIN32)
// ---- Win32 build only -----------------------------------------------------

// 1 when the system reports itself as version 3.95 (the newer shell's
// compatibility answer); selects the newer window styles and dialog flags.
extern int is95;

// is95 from a GetVersion result: its low 16 bits are 0x5F03.
int Is95FromVersion(uint32_t dwVersion);
// Extended styles of the frame and the edit control for an is95 value.
void ReportWindowExStyles(int newShell, uint32_t* frameExStyle, uint32_t* editExStyle);

void Update_Font(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
QHANDLE CreateOurFont(int makeitsmall, int defaultresource);
void Set_Font_Check_Mark(LPHLISTWINDOW_ARRAY_struct lpwnd_data);

// Save As: asks for a file in the common save dialog, then WriteLogFile;
// an error is shown with PutUpSaveErrorMsg.
void SaveLog(LPHLISTWINDOW_ARRAY_struct lpwnd_data);
// Writes the edit control's whole text and the closing line (string 3955)
// into lpszPath, replacing the file. Returns 0, or a kSaveError number. The
// file is created (and stays, empty) before the text is judged.
int WriteLogFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszPath);
void PutUpSaveErrorMsg(LPHLISTWINDOW_ARRAY_struct lpwnd_data, int pos);
#endif
