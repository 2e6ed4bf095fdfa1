// Program entry of the viewer: the parameter string from the host program
// selects one output (own window, the host's edit control, HTML file or
// property file).
#pragma once

#include <cstdint>

#include "platform.h"

// Where the host's icon is, for the opening animation of the own window.
extern uint16_t wIconSrcX, wIconSrcY, wIconSrcX2, wIconSrcY2;
extern int iAnimateOpen;
extern char szOutputFileName[260];

// dwFlags bits (the F= field).
constexpr uint32_t kFlagHtmlOutput = 0x40000000u;
constexpr uint32_t kFlagPropertyOutput = 0x20000000u;

// Program entry: the parameter string decides the output; returns the
// program's result.
int SyslensMain(QHANDLE hInstance, const char* lpszCmdParam, int nCmdShow);

// Scan of the parameter string. Fields as given; returns the number of
// fields converted, counted as sscanf counts them.
struct ParameterFields {
  unsigned long W = 0;
  unsigned X = 0, Y = 0, X2 = 0, Y2 = 0;
  int A = 0;
  unsigned long F = 0;
  char FN[260] = "";
};
int ScanParameterString(const char* lpszCmdParam, ParameterFields* fields);

// Window procedure and refill callback of the viewer's report window.
intptr_t QMRK_STDCALL WndProc(QHANDLE hWnd, unsigned message, uintptr_t wParam, intptr_t lParam);
int QMRK_STDCALL OurCallback(uint16_t wMessage, uintptr_t wParam, intptr_t dwParam);
