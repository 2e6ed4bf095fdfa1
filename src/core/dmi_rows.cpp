// String-set lookup, the DMI.DAT the lookups read, and the emitter: the one
// place of the decoder that tests which sink is active.
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

const char sEmpty[] = "";

Caption::Caption(unsigned id) { snprintf(text, sizeof text, "%s", lpszLoadString(id)); }

DmiKeyCounters& ProcessKeyCounters() {
  static DmiKeyCounters counters;
  return counters;
}

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
  s.buf = ByteView(bStructureBuffer,
                   iStructBufferSize > 0 ? static_cast<size_t>(iStructBufferSize) : 0);
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

bool LookupName(const char* szSectionName, int code, char* name) {
  name[0] = '\0';
  if (!lookup_type(DmiDatFile(), szSectionName, code, name)) return false;
  name[std::min(strlen(name), kNameRowMax)] = '\0';
  return true;
}

// --- The emitter ---

namespace {

constexpr char kLineBreak[] = "\r\n";

void AddText(const char* szText) {
  if (bEdit) QMRKAddText(&wnd_data, szText);
}

// Caption with one %s and a value, formatted as a row.
void FormatRow(char (&szRow)[kRowTextSize], const char* szCaption, const char* szValue) {
  FormatChecked(szRow, sizeof szRow, szCaption, "s", szValue);
}

// String row of string num of the set at strSet.
void StringSetRow(ByteView buf, int num, int strSet, unsigned iCaptionId, const char* szIniKey,
                  RowForm form, bool skipEmpty, const char* szEditPrefix) {
  const int offset = findstring(buf, num, strSet);
  if (!offset) return;
  char szValue[kStringLengthMax + 1];
  CopyStructureString(buf, offset, szValue, sizeof szValue);
  if (skipEmpty && szValue[0] == '\0') return;
  char szRow[kRowTextSize];
  FormatRow(szRow, lpszLoadString(iCaptionId), szValue);
  if (szEditPrefix) AddText(szEditPrefix);
  EmitRow(szRow, form);
  EmitProperty(szIniKey, szValue);
}

}  // namespace

void EmitRow(const char* szRow, RowForm form) {
  if (bEdit) {
    QMRKAddText(&wnd_data, szRow);
    if (form == RowForm::kLine) QMRKAddText(&wnd_data, kLineBreak);
  }
  if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szRow);
}

void EmitProperty(const char* szIniKey, const char* szValue) {
  if (bData && szIniKey && szValue) WritePropertyString(szIniKey, szValue);
}

void EmitPropertyDword(const char* szIniKey, uint32_t dwValue) {
  if (bData && szIniKey) WritePropertyDword(szIniKey, dwValue);
}

void OutputStructNameData(unsigned iStrResId) {
  const char* szCaption = lpszLoadString(iStrResId);
  AddText(szCaption);
  if (bHTML) {
    QMRKAddHeader2(&wnd_data, szCaption, 2);
    QMRKBeginTable2(&wnd_data, 0, nullptr);
  }
}

void SubHeading(unsigned iStrResId) {
  const char* szCaption = lpszLoadString(iStrResId);
  AddText(szCaption);
  if (bHTML) {
    QMRKEndTable(&wnd_data);
    QMRKAddHeader2(&wnd_data, szCaption, 3);
    QMRKBeginTable(&wnd_data, 0, nullptr);
  }
}

void EndStructure() {
  if (bHTML) QMRKEndTable(&wnd_data);
}

void OutputStringData(const char* szRowHeadStr, const char* szStr, const char* szIniKey) {
  char szRow[kRowTextSize];
  if (szStr) {
    FormatRow(szRow, szRowHeadStr, szStr);
  } else {
    CopyText(szRow, sizeof szRow, szRowHeadStr ? szRowHeadStr : "");
  }
  EmitRow(szRow, RowForm::kLine);
  EmitProperty(szIniKey, szStr);
}

void OutputStringDataId(unsigned iRowHeadStrResId, const char* szStr, const char* szIniKey) {
  OutputStringData(lpszLoadString(iRowHeadStrResId), szStr, szIniKey);
}

void OutputDMIDatData(int bDesiredValue, const char* szSectionName, unsigned iStrResId,
                      const char* szIniKey) {
  NameRow(iStrResId, szSectionName, bDesiredValue, szIniKey, RowForm::kLine);
}

void OutputStringTableData(ByteView bStructureBuffer, int bStrNum, int bStrSet, unsigned iStrResId,
                           const char* szIniKey) {
  StringSetRow(bStructureBuffer, bStrNum, bStrSet, iStrResId, szIniKey, RowForm::kLine, false,
               nullptr);
}

void StringRow(const DmiStructure& s, unsigned iCaptionId, size_t fieldOffset, const char* szIniKey,
               RowForm form, bool skipEmpty, const char* szEditPrefix) {
  if (!s.HasField(fieldOffset, 1)) return;
  StringSetRow(s.buf, s.buf.U8(fieldOffset), s.bLength, iCaptionId, szIniKey, form, skipEmpty,
               szEditPrefix);
}

void NameRow(const DmiStructure& s, unsigned iCaptionId, size_t fieldOffset,
             const char* szSectionName, const char* szIniKey, RowForm form) {
  if (!s.HasField(fieldOffset, 1)) return;
  NameRow(iCaptionId, szSectionName, s.buf.U8(fieldOffset), szIniKey, form);
}

void NameRow(unsigned iCaptionId, const char* szSectionName, int code, const char* szIniKey,
             RowForm form) {
  char szName[kRowTextSize] = "";
  if (!lookup_type(DmiDatFile(), szSectionName, code, szName)) return;
  if (form == RowForm::kClassic) szName[std::min(strlen(szName), kNameRowMax)] = '\0';
  char szRow[kRowTextSize];
  FormatRow(szRow, lpszLoadString(iCaptionId), szName);
  EmitRow(szRow, form);
  EmitProperty(szIniKey, szName);
}

void ValueRow(unsigned iCaptionId, int value, const char* szIniKey) {
  char szRow[kRowTextSize];
  FormatChecked(szRow, sizeof szRow, lpszLoadString(iCaptionId), "i", value);
  EmitRow(szRow, RowForm::kClassic);
  EmitPropertyDword(szIniKey, static_cast<uint32_t>(value));
}

void JoinedRow(unsigned iCaptionId, const char* szValue, const char* szIniKey, RowForm form) {
  const char* szCaption = lpszLoadString(iCaptionId);
  if (bEdit) {
    QMRKAddText(&wnd_data, szCaption);
    QMRKAddText(&wnd_data, szValue);
    if (form == RowForm::kLine) QMRKAddText(&wnd_data, kLineBreak);
  }
  if (bHTML) {
    char szRow[kRowTextSize];
    snprintf(szRow, sizeof szRow, "%s%s", szCaption, szValue);
    QMRKAddTabbedTableEntry(&wnd_data, szRow);
  }
  EmitProperty(szIniKey, szValue);
}

void ItemsRow(const char* szCaption, const char* const* items, size_t count, const char* szIniKey,
              bool blankInProperty) {
  AddText(szCaption);
  char szStr[kRowTextSize];
  for (size_t i = 0; i < count; ++i) {
    if (bEdit) {
      snprintf(szStr, sizeof szStr, "%s ", items[i]);
      QMRKAddText(&wnd_data, szStr);
    }
    if (bHTML) {
      snprintf(szStr, sizeof szStr, "%s%s", szCaption, items[i]);
      QMRKAddTabbedTableEntry(&wnd_data, szStr);
    }
    if (bData) {
      snprintf(szStr, sizeof szStr, blankInProperty ? "%s " : "%s", items[i]);
      WritePropertyString(szIniKey, szStr);
    }
  }
}

void OpenList(const char* szCaption, bool closeOpenTable) {
  AddText(szCaption);
  if (bHTML) {
    if (closeOpenTable) QMRKEndTable(&wnd_data);
    QMRKBeginTableTabbedTwoLine(&wnd_data, szCaption, "");
  }
}

void ListRow(const char* szIndent, const char* szText) {
  if (bEdit) {
    if (szIndent[0] != '\0') QMRKAddText(&wnd_data, szIndent);
    QMRKAddText(&wnd_data, szText);
    QMRKAddText(&wnd_data, kLineBreak);
  }
  if (bHTML) QMRKAddTabbedTableEntry(&wnd_data, szText);
}

void CloseList(bool reopen) {
  if (!bHTML) return;
  QMRKEndTable(&wnd_data);
  if (reopen) QMRKBeginTable2(&wnd_data, 0, nullptr);
}

void OpenTable(unsigned iHeadingId, unsigned iColumnsId, unsigned iColumns2Id,
               size_t separatorWidth, bool closeOpenTable) {
  const char* szHeading = lpszLoadString(iHeadingId);
  const char* szColumns = lpszLoadString(iColumnsId);
  const char* szColumns2 = iColumns2Id ? lpszLoadString(iColumns2Id) : nullptr;
  if (bEdit) {
    QMRKAddText(&wnd_data, szHeading);
    QMRKAddText(&wnd_data, szColumns);
    if (szColumns2) QMRKAddText(&wnd_data, szColumns2);
    // The separator line under the column header.
    std::string separator(separatorWidth, '-');
    separator += kLineBreak;
    QMRKAddText(&wnd_data, separator.c_str());
  }
  if (bHTML) {
    if (closeOpenTable) QMRKEndTable(&wnd_data);
    QMRKAddHeader2(&wnd_data, szHeading, 2);
    QMRKBeginTableTabbedTwoLine(&wnd_data, szColumns, szColumns2);
  }
}
