// String-set lookup and the row helpers shared by the structure decodings.
#include "dmi_rows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "format_checked.h"
#include "int_str.h"
#include "qmrkw32.h"
#include "readdat.h"
#include "sink_state.h"
#include "string_ids.h"

int iCounterForModInfo = 0;
int iCounterForCacheInfo = 0;
int iCounterForPortConnInfo = 0;
int iCounterForSysSlots = 0;
int iCounter = 0;
char szTemp[kRowTextSize];
const char sEmpty[] = "";

namespace {

// The walk over a string set never goes beyond this offset from the start of
// the structure.
constexpr int kStringScanLimit = 16384;
// A string that begins further out, or is longer, counts as missing.
constexpr int kStringStartMax = 2048;
constexpr int kStringLengthMax = 80;

}  // namespace

DmiStructure ViewStructure(const uint8_t* bStructureBuffer, int iStructBufferSize) {
  DmiStructure s;
  s.buf = ByteView(bStructureBuffer, iStructBufferSize > 0 ? static_cast<size_t>(iStructBufferSize) : 0);
  s.bType = s.buf.U8(0);
  s.bLength = s.buf.U8(1);
  return s;
}

int findstring(ByteView structBuf, int num, int str_set) {
  num &= 127;
  if (num == 0 || str_set < 0) return 0;
  // The scan also stops at the end of the structure buffer: a string set
  // without its closing double NUL must not lead the walk out of it. A string
  // that runs into the end of the buffer (or the scan limit) counts as missing.
  const size_t limit = std::min(static_cast<size_t>(kStringScanLimit), structBuf.size());
  size_t k = static_cast<size_t>(str_set);
  while (num > 1 && k < limit) {
    while (k < limit && structBuf.U8(k) != 0) ++k;
    if (k >= limit) return 0;
    // A NUL right after a string's NUL (or no byte at all) ends the set.
    if (!structBuf.Has(k + 1, 1) || structBuf.U8(k + 1) == 0) return 0;
    ++k;
    --num;
  }
  if (k > static_cast<size_t>(kStringStartMax) || k >= limit) return 0;
  size_t length = 0;
  while (structBuf.Has(k + length, 1) && structBuf.U8(k + length) != 0) {
    if (++length > static_cast<size_t>(kStringLengthMax)) return 0;
  }
  if (!structBuf.Has(k + length, 1)) return 0;  // no NUL inside the buffer
  return static_cast<int>(k);
}

void CopyStructureString(ByteView structBuf, int offset, char* out, size_t size) {
  if (size == 0) return;
  size_t n = 0;
  if (offset > 0) {
    const size_t start = static_cast<size_t>(offset);
    while (n + 1 < size && structBuf.Has(start + n, 1) && structBuf.U8(start + n) != 0) {
      out[n] = static_cast<char>(structBuf.U8(start + n));
      ++n;
    }
  }
  out[n] = '\0';
  BlankStringControls(out);
}

void BlankStringControls(char* text) {
  for (; *text; ++text) {
    const auto byte = static_cast<unsigned char>(*text);
    if (byte < 0x20 || byte == 0x7F) *text = ' ';
  }
}

void OutputStringData(const char* szRowHeadStr, const char* szStr, const char* szIniKey) {
  char szRow[kRowTextSize];
  if (szStr) {
    FormatChecked(szRow, sizeof szRow, szRowHeadStr, "s", szStr);
  } else {
    CopyText(szRow, sizeof szRow, szRowHeadStr ? szRowHeadStr : "");
  }
  if (bEdit) {
    QMRKAddText(&wnd_data, szRow);
    QMRKAddText(&wnd_data, "\r\n");
  }
  if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szRow);
  if (bData && szIniKey && szStr) WritePropertyString(szIniKey, szStr);
}

void OutputStringDataId(unsigned iRowHeadStrResId, const char* szStr, const char* szIniKey) {
  OutputStringData(lpszLoadString(iRowHeadStrResId), szStr, szIniKey);
}

namespace {

bool holdingDmiDat = false;
std::string heldDmiDat;

}  // namespace

const char* DmiDatFile() {
  if (!holdingDmiDat) return PlatDmiDatPath(pszDMI_datafile);
  if (heldDmiDat.empty()) heldDmiDat = PlatDmiDatPath(pszDMI_datafile);
  return heldDmiDat.c_str();
}

void HoldDmiDat(bool hold) {
  holdingDmiDat = hold;
  heldDmiDat.clear();
  hold_dmi_dat(hold);
}

void OutputDMIDatData(int bDesiredValue, const char* szSectionName, unsigned iStrResId,
                      const char* szIniKey) {
  char szName[kRowTextSize] = "";
  if (!lookup_type(DmiDatFile(), szSectionName, bDesiredValue, szName)) return;
  OutputStringDataId(iStrResId, szName, szIniKey);
}

void OutputStringTableData(ByteView bStructureBuffer, int bStrNum, int bStrSet,
                           unsigned iStrResId, const char* szIniKey) {
  const int offset = findstring(bStructureBuffer, bStrNum, bStrSet);
  if (!offset) return;
  char szValue[kStringLengthMax + 1];
  CopyStructureString(bStructureBuffer, offset, szValue, sizeof szValue);
  OutputStringDataId(iStrResId, szValue, szIniKey);
}

void OutputStructNameData(unsigned iStrResId) {
  const char* szCaption = lpszLoadString(iStrResId);
  if (bEdit) QMRKAddText(&wnd_data, szCaption);
  if (bHTML) {
    QMRKAddHeader2(&wnd_data, szCaption, 2);
    QMRKBeginTable2(&wnd_data, 0, nullptr);
  }
}

const char* GetSecurityStatus(unsigned wWord) {
  switch (wWord) {
    case 0: return lpszLoadString(kIdDisabled);
    case 1: return lpszLoadString(kIdEnabled);
    case 2: return lpszLoadString(kIdNotImplemented);
    case 3: return lpszLoadString(kIdUnknown);
    default: return sEmpty;
  }
}

void StripTrailingSpaces(char* pBuff) {
  if (!pBuff) return;
  for (size_t i = strlen(pBuff); i > 0; --i) {
    if (pBuff[i] != '\0' && pBuff[i] != ' ') break;
    pBuff[i] = '\0';
  }
}

void EmitRow(const char* szRow) {
  if (bEdit) QMRKAddText(&wnd_data, szRow);
  if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szRow);
}

void StringRow(const DmiStructure& s, unsigned iCaptionId, size_t fieldOffset,
               const char* szIniKey, bool skipEmpty, const char* szEditPrefix) {
  if (!s.HasField(fieldOffset, 1)) return;
  const int iString_Head = findstring(s.buf, s.buf.U8(fieldOffset), s.bLength);
  if (!iString_Head) return;
  char szValue[kStringLengthMax + 1];
  CopyStructureString(s.buf, iString_Head, szValue, sizeof szValue);
  if (skipEmpty && szValue[0] == '\0') return;
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(iCaptionId), "s", szValue);
  if (bEdit && szEditPrefix) QMRKAddText(&wnd_data, szEditPrefix);
  EmitRow(szStr);
  if (bData && szIniKey) WritePropertyString(szIniKey, szValue);
}

bool LookupName(const char* szSectionName, int code, char* name) {
  name[0] = '\0';
  if (!lookup_type(DmiDatFile(), szSectionName, code, name)) return false;
  name[std::min(strlen(name), kNameRowMax)] = '\0';
  return true;
}

void NameRow(unsigned iCaptionId, const char* szSectionName, int code, const char* szIniKey) {
  char szStr1[kRowTextSize];
  if (!LookupName(szSectionName, code, szStr1)) return;
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(iCaptionId), "s", szStr1);
  EmitRow(szStr);
  if (bData && szIniKey) WritePropertyString(szIniKey, szStr1);
}

void ValueRow(unsigned iCaptionId, int value, const char* szIniKey) {
  char szStr[kRowTextSize];
  FormatChecked(szStr, sizeof szStr, lpszLoadString(iCaptionId), "i", value);
  EmitRow(szStr);
  if (bData && szIniKey) WritePropertyDword(szIniKey, static_cast<uint32_t>(value));
}

void JoinedRow(unsigned iCaptionId, const char* szValue, const char* szIniKey,
               bool lineBreak) {
  const char* szCaption = lpszLoadString(iCaptionId);
  if (bEdit) {
    QMRKAddText(&wnd_data, szCaption);
    QMRKAddText(&wnd_data, szValue);
    if (lineBreak) QMRKAddText(&wnd_data, "\r\n");
  }
  if (bHTML) {
    char szStr[kRowTextSize];
    snprintf(szStr, sizeof szStr, "%s%s", szCaption, szValue);
    QMRKAddTabbedTableEntry(&wnd_data, szStr);
  }
  if (bData && szIniKey) WritePropertyString(szIniKey, szValue);
}

void EndStructure() {
  if (bHTML) QMRKEndTable(&wnd_data);
}
