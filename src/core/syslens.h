// The viewer's run: invocation modes, the run sequence, the collector and the
// dump reader.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform.h"
#include "probex.h"

extern QHANDLE ghInst;
extern int bEdit;
extern int bHTML;
extern int bData;
extern uint16_t wIconSrcX, wIconSrcY, wIconSrcX2, wIconSrcY2;
extern int iAnimateOpen;
extern char szOutputFileName[260];
// SMBIOS version of the dump: (major << 4) | (minor & 15), truncated to 8 bits.
extern uint8_t g_bDMIBIOSRevision;

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

void FillScreen();
int dmi_info();
// The dump file is made open for reading (*input); the collector writes it
// by name, the viewer reads it through *input.
int RunPROBEX(char (&szDumpPath)[260], FILE** input);
int GetTempFilePath(const char* szRoot, char (&szTempPath)[260], FILE** file);
// Starts program with its one argument and waits for it.
int TimedProcess(const char* program, const char* argument, uint32_t dwTimeout,
                 uint32_t* pdwProcessExitCode);

int display_dmi_info(FILE* pInputFile);
int Show_DMIBIOS_Info(FILE* pInputFile, const CDMISummaryInfo* pSummaryInfo);
int ReadAndDisplayDMIStructures(FILE* pInputFile, const CDMISummaryInfo* pSummaryInfo);
int ReadDMIStructure(FILE* pInputFile, int* pReadStructure, uint8_t* lpBuffer,
                     uint32_t dwBufferSize);
void Find2Tab(char* line);

// Window procedure and refill callback of the viewer's report window.
intptr_t QMRK_STDCALL WndProc(QHANDLE hWnd, unsigned message, uintptr_t wParam, intptr_t lParam);
int QMRK_STDCALL OurCallback(uint16_t wMessage, uintptr_t wParam, intptr_t dwParam);
