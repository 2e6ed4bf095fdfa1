// The report window: a frame with a menu around a read-only edit control
// that holds the report text. Win32 shows a real window; POSIX keeps the
// text and writes it to standard output when the message loop would start.
// What both do with the record and the font choice is report_window.cpp; the
// Win32 window's mechanics are below in the platform layer
// (plat_report_window.h), which report_window_win32_host.cpp feeds.
#pragma once

#include <cstdint>

#include "plat_report_window.h"
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

#if defined(_WIN32)
// Save As without the dialog: the report text and the closing line into
// lpszPath (PlatWriteReportLog of the window).
int WriteLogFile(LPHLISTWINDOW_ARRAY_struct lpwnd_data, const char* lpszPath);
#endif
