// The report window: a frame with a menu around a read-only edit control
// that holds the report text. Win32 shows a real window; POSIX keeps the
// text and writes it to standard output when the message loop would start.
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
