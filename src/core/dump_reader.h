// Reading the collector's dump into the report: the file header, the
// summary and the DMI BIOS heading, then every structure to the decoder.
#pragma once

#include <cstdint>
#include <cstdio>

#include "probex.h"

// SMBIOS version of the dump: (major << 4) | (minor & 15), truncated to 8 bits.
extern uint8_t g_bDMIBIOSRevision;

// The whole report of one dump; 0 when the dump is not complete or holds no
// table (no report is written then).
int display_dmi_info(FILE* pInputFile);
int Show_DMIBIOS_Info(FILE* pInputFile, const CDMISummaryInfo* pSummaryInfo);
int ReadAndDisplayDMIStructures(FILE* pInputFile, const CDMISummaryInfo* pSummaryInfo);
int ReadDMIStructure(FILE* pInputFile, int* pReadStructure, uint8_t* lpBuffer,
                     uint32_t dwBufferSize);
// Makes the first double tab of a line a blank.
void Find2Tab(char* line);
