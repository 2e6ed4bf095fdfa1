// Reading the collector's dump: header, summary, the DMI BIOS heading of the
// report, then every structure record in file order to the decoder.
#include "dump_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "dmi_frame.h"
#include "format_checked.h"
#include "int_str.h"
#include "qmrkw32.h"
#include "sink_state.h"
#include "string_ids.h"

uint8_t g_bDMIBIOSRevision = 0;

namespace {

constexpr size_t kHeaderLineSize = 100;

void CopyLine(char (&line)[kHeaderLineSize], unsigned id) {
  CopyText(line, sizeof line, lpszLoadString(id));
}

}  // namespace

void Find2Tab(char* line) {
  if (char* tabs = line ? strstr(line, "\t\t") : nullptr) *tabs = ' ';
}

int display_dmi_info(FILE* pInputFile) {
  CDMIFileHeader header;
  CDMIFileHeaderConstruct(&header);
  if (!ReadFileHeader(pInputFile, &header)) return 0;
  if (header.m_bWroteAllData == 0) return 0;
  CDMISummaryInfo summary;
  CDMISummaryInfoConstruct(&summary);
  if (!ReadSummaryInfo(pInputFile, &summary)) return 0;
  if (summary.m_dwDMIBufferSize == 0) return 0;
  g_bDMIBIOSRevision =
      static_cast<uint8_t>((summary.m_bVersionMajor << 4) | (summary.m_bVersionMinor & 15));
  return Show_DMIBIOS_Info(pInputFile, &summary);
}

int Show_DMIBIOS_Info(FILE* pInputFile, const CDMISummaryInfo* pSummaryInfo) {
  char line[kHeaderLineSize];
  CopyLine(line, kIdDmiBiosHeading);
  if (bEdit) QMRKAddHeader(&wnd_data, line);
  if (bHTML) QMRKAddHeader2(&wnd_data, line, 1);

  if (pSummaryInfo->bSyslensFound == 0) {
    CopyLine(line, kIdDmiBiosNotSupported);
    if (bEdit) QMRKAddText(&wnd_data, line);
    if (bHTML) QMRKAddHeader2(&wnd_data, line, 3);
    if (bData) WritePropertyDword("bBIOSDetected", 0);
    return 1;
  }

  const int major = pSummaryInfo->m_bVersionMajor;
  const int minor = pSummaryInfo->m_bVersionMinor;
  char detected[kHeaderLineSize];
  char revision[kHeaderLineSize];
  CopyLine(detected, kIdDmiBiosDetected);
  FormatChecked(revision, sizeof revision, lpszLoadString(kIdDmiBiosRevision), "ii", major, minor);
  if (bEdit) {
    QMRKAddText(&wnd_data, detected);
    QMRKAddText(&wnd_data, revision);
  }
  if (bHTML) {
    QMRKBeginTable2(&wnd_data, 0, nullptr);
    Find2Tab(detected);
    QMRKAddTabbedTableEntry(&wnd_data, detected);
    Find2Tab(revision);
    QMRKAddTabbedTableEntry(&wnd_data, revision);
    QMRKEndTable(&wnd_data);
  }
  if (bData) {
    WritePropertyDword("bBIOSDetected", 1);
    char version[kHeaderLineSize];
    snprintf(version, sizeof version, "%i.%i", major, minor);
    WritePropertyString("szBIOSRevision", version);
  }
  return ReadAndDisplayDMIStructures(pInputFile, pSummaryInfo) ? 1 : 0;
}

int ReadAndDisplayDMIStructures(FILE* pInputFile, const CDMISummaryInfo* pSummaryInfo) {
  DmiDumpState state;
  const uint32_t capacity = pSummaryInfo->m_dwDMIBufferSize;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[capacity]());
  if (!buffer) return 0;

  bool whole = true;
  for (;;) {
    int read = 0;
    if (!ReadDMIStructure(pInputFile, &read, buffer.get(), capacity)) {
      whole = false;
      break;
    }
    if (!read) break;
    if (!DMI_Print_Structure(buffer.get(), state, static_cast<int>(capacity))) {
      whole = false;
      break;
    }
  }
  // Pending tables are closed however the reading ended: a dump cut inside
  // a run of port or slot records must not leave a table open in the HTML.
  if (state.portTableOpen) FinishProcessingPortConnInfoStructs(state);
  if (state.slotTableOpen) FinishProcessingSystemSlotStructs(state);
  return whole ? 1 : 0;
}

int ReadDMIStructure(FILE* pInputFile, int* pReadStructure, uint8_t* lpBuffer,
                     uint32_t dwBufferSize) {
  CDMIStructureHeader header;
  CDMIStructureHeaderConstruct(&header);
  *pReadStructure = 0;
  // A size field cut short is the normal end of the dump.
  if (!ReadStructureHeader(pInputFile, &header)) return 1;
  if (header.m_dwSize > dwBufferSize) return 0;
  if (header.m_dwSize == 0) return 0;
  if (fread(lpBuffer, header.m_dwSize, 1, pInputFile) != 1) return 0;
  // The buffer is reused: a structure whose formatted length claims more than
  // its record holds must read zeros there, not the previous structure.
  memset(lpBuffer + header.m_dwSize, 0, dwBufferSize - header.m_dwSize);
  *pReadStructure = 1;
  return 1;
}
