// Shared pieces of the structure decoder: the structure view every decoding
// reads through, the string-set lookup, the state a dump carries from one
// structure to the next, and the emitter: the only code that knows which
// sink (report text, HTML, properties) is active. Decoders say what a row
// is; the emitter writes it to the active sink.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bytes.h"

// One structure as the decoder sees it: the whole structure buffer (its
// capacity, not only this structure) and the formatted length of the header.
// A field exists only when the formatted length covers it: bytes past
// bLength belong to the string set (or to nothing), so they are never read
// as a field, whatever SMBIOS version the table claims.
struct DmiStructure {
  ByteView buf;
  uint8_t bType = 0;
  uint8_t bLength = 0;

  bool HasField(size_t offset, size_t width) const {
    return offset + width <= bLength && buf.Has(offset, width);
  }
};

// View of the structure at the start of a buffer of iStructBufferSize bytes.
DmiStructure ViewStructure(const uint8_t* bStructureBuffer, int iStructBufferSize);

// Size of the row texts and looked-up names.
constexpr size_t kRowTextSize = 500;
// A looked-up name shown in a classic row is cut to this many characters.
constexpr size_t kNameRowMax = 50;
// Blank value.
extern const char sEmpty[];

// Copy of a loaded caption, so that it survives the further loads of a list
// (the loader's result buffers rotate).
struct Caption {
  explicit Caption(unsigned id);
  char text[kRowTextSize];
};

// Numbers of the property keys of memory modules (type 6), caches (7), port
// connectors (8) and system slots (9). They run over the whole process: a
// report made again in the same window (a refresh) goes on counting.
struct DmiKeyCounters {
  int modules = 0;
  int caches = 0;
  int portConnectors = 0;
  int slots = 0;
};
// The process's counters.
DmiKeyCounters& ProcessKeyCounters();

// What the decoders carry from one structure of a dump to the next.
struct DmiDumpState {
  // Numbers of the property keys of memory devices (type 17) and memory
  // array (19) and device (20) mapped addresses; they start at 0 each dump.
  int memoryDevices = 0;
  int arrayMappedAddresses = 0;
  int deviceMappedAddresses = 0;
  // Key numbers of types 6 to 9.
  DmiKeyCounters* keys = &ProcessKeyCounters();
  // A run of port connectors or of system slots has its table open; another
  // type (or the end of the dump) closes it.
  bool portTableOpen = false;
  bool slotTableOpen = false;
};

// Offset from the start of the structure of string num (only its low seven
// bits count) of the string set at str_set; 0 when there is no usable string.
int findstring(ByteView structBuf, int num, int str_set);

// Control characters of a firmware string (ESC, CR, TAB) would drive a
// terminal or split the report's own lines and cells: each becomes a blank.
void BlankStringControls(char* text);
// Copies the string at offset (as found by findstring) into out, cut to size.
void CopyStructureString(ByteView structBuf, int offset, char* out, size_t size);

// Text of a 2-bit security status; empty for any other value.
const char* GetSecurityStatus(unsigned wWord);

// Removes trailing blanks in place; the first character always stays.
void StripTrailingSpaces(char* pBuff);

// Name of code in section, cut to kNameRowMax, into name (kRowTextSize
// bytes); false when the table names nothing.
bool LookupName(const char* szSectionName, int code, char* name);

// The DMI.DAT the lookups read. While a report holds it (HoldDmiDat), the
// file is found once (the current directory, else beside the program) and
// its stamp checked once; a file put there or rewritten meanwhile shows from
// the next report on, not halfway through this one.
const char* DmiDatFile();
void HoldDmiDat(bool hold);

// --- The emitter ---
//
// A row is one line of report text, one entry of the open HTML table and, when
// it has a key, one property holding the bare value. Each row has one of two
// forms, which is the report's one line-break convention:
// - classic rows (most rows of types 0 to 13): the caption carries the line
//   break (or the next caption does), so the emitter adds none, and a name
//   looked up in DMI.DAT is cut to kNameRowMax;
// - line rows: the emitter ends the row's text with a line break of its own,
//   and names are shown whole.
enum class RowForm { kClassic, kLine };

// An already formatted row: report text and HTML entry, no property.
void EmitRow(const char* szRow, RowForm form);
// A property, written only in property output and only with a key.
void EmitProperty(const char* szIniKey, const char* szValue);
void EmitPropertyDword(const char* szIniKey, uint32_t dwValue);

// Heading of a structure; in HTML it also begins the structure's table.
void OutputStructNameData(unsigned iStrResId);
// Sub-heading inside a structure: in HTML the structure's table ends and the
// sub-heading begins a table of its own.
void SubHeading(unsigned iStrResId);
// Ends the open table in HTML: the structure's, a list's or a run's.
void EndStructure();

// Line row of a caption (one %s) and a value; without a value the caption
// alone, without property.
void OutputStringData(const char* szRowHeadStr, const char* szStr, const char* szIniKey);
void OutputStringDataId(unsigned iRowHeadStrResId, const char* szStr, const char* szIniKey);
// Line row of the DMI.DAT name of bDesiredValue; nothing when the table
// names nothing.
void OutputDMIDatData(int bDesiredValue, const char* szSectionName, unsigned iStrResId,
                      const char* szIniKey);
// Line row of string bStrNum of the string set at bStrSet; nothing when the
// string is missing.
void OutputStringTableData(ByteView bStructureBuffer, int bStrNum, int bStrSet, unsigned iStrResId,
                           const char* szIniKey);

// String row: caption (one %s) with the string named by the byte at
// fieldOffset; nothing, not even the property, when the field is outside the
// formatted area or the string is missing (or empty, with skipEmpty).
// szEditPrefix, when given, goes before the row in report text only.
void StringRow(const DmiStructure& s, unsigned iCaptionId, size_t fieldOffset, const char* szIniKey,
               RowForm form, bool skipEmpty = false, const char* szEditPrefix = nullptr);

// Name row: caption (one %s) with the DMI.DAT name of the byte at
// fieldOffset (or of code); nothing when the field is outside the formatted
// area or the table names nothing.
void NameRow(const DmiStructure& s, unsigned iCaptionId, size_t fieldOffset,
             const char* szSectionName, const char* szIniKey, RowForm form);
void NameRow(unsigned iCaptionId, const char* szSectionName, int code, const char* szIniKey,
             RowForm form);

// Classic value row: caption with one integer placeholder; the property is
// the number (szIniKey may be null).
void ValueRow(unsigned iCaptionId, int value, const char* szIniKey);

// Joined row: caption without placeholder followed by a value text.
void JoinedRow(unsigned iCaptionId, const char* szValue, const char* szIniKey, RowForm form);

// Row of a caption and a few items (voltages): report text gives the caption
// once and each item followed by a blank, HTML one entry per item (caption
// and item), and the property is written once per item, so the last one
// stays (with a blank after it when blankInProperty is set).
void ItemsRow(const char* szCaption, const char* const* items, size_t count, const char* szIniKey,
              bool blankInProperty);

// A list under a caption: in HTML a table of its own with the caption as
// column header; with closeOpenTable the table open before it is ended
// first. ListRow writes one entry (report text: indent, text, line break);
// CloseList ends the list's table, and with reopen begins a new one for the
// rest of the structure.
void OpenList(const char* szCaption, bool closeOpenTable);
void ListRow(const char* szIndent, const char* szText);
void CloseList(bool reopen);

// Heading of a table that a run of structures fills, one line each
// (EmitRow, line form): the heading, the column header (one caption, or two
// lines when iColumns2Id is not 0) and in report text a separator of
// separatorWidth dashes under it. With closeOpenTable the HTML table open
// before it is ended first.
void OpenTable(unsigned iHeadingId, unsigned iColumnsId, unsigned iColumns2Id,
               size_t separatorWidth, bool closeOpenTable);
