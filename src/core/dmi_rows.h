// Shared pieces of the structure decoder: the structure view every decoding
// reads through, the string-set lookup, the row helpers that write one row to
// whichever sink is active, and the process-wide counters that number the
// property keys of repeated structures.
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
// A looked-up name shown in a name row is cut to this many characters.
constexpr size_t kNameRowMax = 50;

// Per-type instance counters: they number the property keys of memory
// modules (type 6), caches (7), port connectors (8) and system slots (9).
// 0 at start, increased once a structure of the type is decoded, never reset.
extern int iCounterForModInfo;
extern int iCounterForCacheInfo;
extern int iCounterForPortConnInfo;
extern int iCounterForSysSlots;
// Running number of the keys of one bit list.
extern int iCounter;
// Numbered property keys and composed property values are formatted here.
extern char szTemp[kRowTextSize];
// Blank value.
extern const char sEmpty[];

// Offset from the start of the structure of string num (only its low seven
// bits count) of the string set at str_set; 0 when there is no usable string.
int findstring(ByteView structBuf, int num, int str_set);

// Control characters of a firmware string (ESC, CR, TAB) would drive a
// terminal or split the report's own lines and cells: each becomes a blank.
void BlankStringControls(char* text);
// Copies the string at offset (as found by findstring) into out, cut to size.
void CopyStructureString(ByteView structBuf, int offset, char* out, size_t size);

// Row helpers: each writes one row to the active sink (report text with a
// line break after the row, an HTML table entry, or a property).
void OutputStringData(const char* szRowHeadStr, const char* szStr, const char* szIniKey);
void OutputStringDataId(unsigned iRowHeadStrResId, const char* szStr, const char* szIniKey);
void OutputDMIDatData(int bDesiredValue, const char* szSectionName, unsigned iStrResId,
                      const char* szIniKey);
void OutputStringTableData(ByteView bStructureBuffer, int bStrNum, int bStrSet,
                           unsigned iStrResId, const char* szIniKey);
// Heading of a structure; in HTML it also begins the structure's table.
void OutputStructNameData(unsigned iStrResId);

// Text of a 2-bit security status; empty for any other value.
const char* GetSecurityStatus(unsigned wWord);

// Removes trailing blanks in place; the first character always stays.
void StripTrailingSpaces(char* pBuff);

// Row forms of the decodings of types 0 to 8. Unlike the helpers above they
// add no line break after a row in report text: the captions carry them.

// Report text and HTML entry of an already formatted row.
void EmitRow(const char* szRow);

// String row: caption (one %s) with the string named by the byte at
// fieldOffset; nothing, not even the property, when the field is outside the
// formatted area or the string is missing (or empty, with skipEmpty).
// szEditPrefix, when given, goes before the row in report text only.
void StringRow(const DmiStructure& s, unsigned iCaptionId, size_t fieldOffset,
               const char* szIniKey, bool skipEmpty = false,
               const char* szEditPrefix = nullptr);

// Name row: caption (one %s) with the DMI.DAT name of code in section,
// cut to kNameRowMax; nothing when the table names nothing.
void NameRow(unsigned iCaptionId, const char* szSectionName, int code, const char* szIniKey);

// Name of code in section, cut to kNameRowMax, into name (kRowTextSize
// bytes); false when the table names nothing.
bool LookupName(const char* szSectionName, int code, char* name);

// The DMI.DAT the lookups read. While a report holds it (HoldDmiDat), the
// file is found once (the current directory, else beside the program) and
// its stamp checked once; a file put there or rewritten meanwhile shows from
// the next report on, not halfway through this one.
const char* DmiDatFile();
void HoldDmiDat(bool hold);

// Value row: caption with one integer placeholder; the property is the
// number (szIniKey may be null).
void ValueRow(unsigned iCaptionId, int value, const char* szIniKey);

// Joined row: caption without placeholder followed by a value text. In report
// text a line break follows when lineBreak is set.
void JoinedRow(unsigned iCaptionId, const char* szValue, const char* szIniKey,
               bool lineBreak);

// Ends the structure's table in HTML.
void EndStructure();

// Decodings of the structure types 0 to 4 (BIOS, system, base board,
// enclosure, processor).
void DecodeBiosInformation(const DmiStructure& s);
void DecodeSystemInformation(const DmiStructure& s);
void DecodeBaseBoardInformation(const DmiStructure& s);
void DecodeSystemEnclosure(const DmiStructure& s);
void DecodeProcessorInformation(const DmiStructure& s);
