// Decoding of the structure types 26 to 30: voltage, temperature and
// electrical current probes (one layout, one set of location and status
// texts), cooling devices and out-of-band remote access.
//
// Every row goes through the row helpers, so report text gets the row and a
// line break, HTML one table entry and the properties the value text under a
// key of its own. A row whose field lies beyond the structure's formatted
// length is left out together with its property.
#include "dmi_types_26_30.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "format_checked.h"
#include "int_str.h"
#include "string_ids.h"

namespace {

// Probe fields (types 26, 28, 29).
constexpr size_t kProbeDescription = 4;
constexpr size_t kProbeLocationAndStatus = 5;
constexpr size_t kProbeMaximum = 6;
constexpr size_t kProbeMinimum = 8;
constexpr size_t kProbeResolution = 10;
constexpr size_t kProbeTolerance = 12;
constexpr size_t kProbeAccuracy = 14;
constexpr size_t kProbeOemDefined = 16;

// Cooling device fields (type 27).
constexpr size_t kCoolingProbeHandle = 4;
constexpr size_t kCoolingTypeAndStatus = 6;
constexpr size_t kCoolingUnitGroup = 7;
constexpr size_t kCoolingOemDefined = 8;

// Out-of-band remote access fields (type 30).
constexpr size_t kRemoteManufacturer = 4;
constexpr size_t kRemoteConnections = 5;

// A reading, or the accuracy, that the firmware does not know.
constexpr uint16_t kUnknownReading = 0x8000;
// Most fraction digits a temperature text shows (thousandths are the finest
// unit of the readings).
constexpr int kMaxDecimals = 3;
// A cooling device without a temperature probe.
constexpr uint16_t kNoProbeHandle = 0xFFFF;

// Location codes 1 to 11 and status codes 1 to 6 have texts.
constexpr unsigned kLocationCodes = 11;
constexpr unsigned kStatusCodes = 6;

// How a probe shows its readings.
enum class Unit { kMilli, kDegrees };

// Captions, texts, formats and keys of one kind of probe. Every kind has its
// own copies of the location and status texts.
struct ProbeKind {
  unsigned idHeading;
  unsigned idDescription;
  unsigned idLocationFirst;  // text of location code 1; codes 2 to 11 follow
  unsigned idLocation;
  unsigned idStatusFirst;  // text of status code 1; codes 2 to 6 follow
  unsigned idStatus;
  unsigned idMaximum;
  unsigned idMinimum;
  unsigned idResolution;
  unsigned idTolerance;
  unsigned idAccuracyValue;  // "+/- %u/100 of a percent"
  unsigned idAccuracy;
  unsigned idOem;
  unsigned idUnknown;  // shown for readings of 0x8000
  Unit unit;
  // Value formats of the readings in kMilli units (one integer each).
  const char* szMaximum;
  const char* szMinimum;
  const char* szResolution;
  const char* szTolerance;
  const char* keyDescription;
  const char* keyLocation;
  const char* keyStatus;
  const char* keyMaximum;
  const char* keyMinimum;
  const char* keyResolution;
  const char* keyTolerance;
  const char* keyAccuracy;
  const char* keyOem;
};

// The voltage probe's resolution is written under szVoltProbRes, named like
// the resolution keys of the other probes; no other key of the structure
// shares it.
// clang-format off
const ProbeKind kVoltageProbe = {
    kIdVoltProbeHeading, kIdVoltProbeDescription, kIdVoltProbeLocOther, kIdVoltProbeLocation,
    kIdVoltProbeStatusOther, kIdVoltProbeStatus, kIdVoltProbeMaximum, kIdVoltProbeMinimum,
    kIdVoltProbeResolution, kIdVoltProbeTolerance, kIdVoltProbeAccuracyValue,
    kIdVoltProbeAccuracy, kIdVoltProbeOem, kIdVoltProbeStatusUnknown,
    Unit::kMilli, "%u mV", "%u mV", "%u/10 of a mV", "+/- %u mV",
    "szVoltProbDesc", "szVoltProbLoc", "szVoltProbStat", "szVoltProbMaxVal",
    "szVoltProbMinVal", "szVoltProbRes", "szVoltProbTol", "szVoltProbAcc", "szVoltProbOEMNo"};

const ProbeKind kTemperatureProbe = {
    kIdTempProbeHeading, kIdTempProbeDescription, kIdTempProbeLocOther, kIdTempProbeLocation,
    kIdTempProbeStatusOther, kIdTempProbeStatus, kIdTempProbeMaximum, kIdTempProbeMinimum,
    kIdTempProbeResolution, kIdTempProbeTolerance, kIdTempProbeAccuracyValue,
    kIdTempProbeAccuracy, kIdTempProbeOem, kIdUnknown,
    Unit::kDegrees, nullptr, nullptr, nullptr, nullptr,
    "szTempProbDesc", "szTempProbLoc", "szTempProbStat", "szTempProbMaxVal",
    "szTempProbMinVal", "szTempProbRes", "szTempProbTol", "szTempProbAcc", "szTempProbOEMNo"};

const ProbeKind kCurrentProbe = {
    kIdCurrProbeHeading, kIdCurrProbeDescription, kIdCurrProbeLocOther, kIdCurrProbeLocation,
    kIdCurrProbeStatusOther, kIdCurrProbeStatus, kIdCurrProbeMaximum, kIdCurrProbeMinimum,
    kIdCurrProbeResolution, kIdCurrProbeTolerance, kIdCurrProbeAccuracyValue,
    kIdCurrProbeAccuracy, kIdCurrProbeOem, kIdUnknown,
    Unit::kMilli, "%u mA", "%u mA", "%u/10 mA", "+/- %u mA",
    "szCurrProbDesc", "szCurrProbLoc", "szCurrProbStat", "szCurrProbMaxVal",
    "szCurrProbMinVal", "szCurrProbRes", "szCurrProbTol", "szCurrProbAcc", "szCurrOEMNo"};
// clang-format on

// Text of a code from a run of consecutive texts for codes 1 to count; any
// other code is shown as its number.
void CodeText(char* out, size_t size, unsigned code, unsigned idFirst, unsigned count) {
  if (code >= 1 && code <= count) {
    CopyText(out, size, lpszLoadString(idFirst + code - 1));
  } else {
    snprintf(out, size, "%u", code);
  }
}

// Which reading a row shows; temperatures scale them differently.
enum class Reading { kLimit, kResolution, kTolerance };

// Row of a reading: the unknown text for 0x8000, otherwise the value text
// (szFormat for the milli units). Nothing when the field lies beyond the
// formatted area.
void ReadingRow(const DmiStructure& s, const ProbeKind& kind, size_t offset, Reading reading,
                unsigned idCaption, const char* szFormat, const char* szKey) {
  if (!s.HasField(offset, 2)) return;
  const uint16_t w = s.buf.U16(offset);
  char szStr[kRowTextSize];
  if (w == kUnknownReading) {
    CopyText(szStr, sizeof szStr, lpszLoadString(kind.idUnknown));
  } else if (kind.unit == Unit::kDegrees) {
    // Maximum, minimum and tolerance are in tenths of a degree, the
    // resolution in thousandths. The limits are signed: a probe may read
    // below freezing. Tolerance and resolution are widths, never negative.
    const long value = reading == Reading::kLimit ? static_cast<long>(static_cast<int16_t>(w))
                                                  : static_cast<long>(w);
    FormatTemperature(szStr, sizeof szStr, lpszLoadString(kIdDegrees), value,
                      reading == Reading::kResolution ? 3 : 1);
  } else {
    FormatChecked(szStr, sizeof szStr, szFormat, "i", static_cast<unsigned>(w));
  }
  OutputStringDataId(idCaption, szStr, szKey);
}

void OemRow(const DmiStructure& s, size_t offset, unsigned idCaption, const char* szKey) {
  if (!s.HasField(offset, 4)) return;
  char szStr[kRowTextSize];
  snprintf(szStr, sizeof szStr, "%08lXH", static_cast<unsigned long>(s.buf.U32(offset)));
  OutputStringDataId(idCaption, szStr, szKey);
}

void DecodeProbe(const DmiStructure& s, const ProbeKind& kind) {
  OutputStructNameData(kind.idHeading);
  StringRow(s, kind.idDescription, kProbeDescription, kind.keyDescription, RowForm::kLine);
  char szStr[kRowTextSize];
  if (s.HasField(kProbeLocationAndStatus, 1)) {
    const unsigned b = s.buf.U8(kProbeLocationAndStatus);
    CodeText(szStr, sizeof szStr, b & 0x1F, kind.idLocationFirst, kLocationCodes);
    OutputStringDataId(kind.idLocation, szStr, kind.keyLocation);
    CodeText(szStr, sizeof szStr, b >> 5, kind.idStatusFirst, kStatusCodes);
    OutputStringDataId(kind.idStatus, szStr, kind.keyStatus);
  }
  ReadingRow(s, kind, kProbeMaximum, Reading::kLimit, kind.idMaximum, kind.szMaximum,
             kind.keyMaximum);
  ReadingRow(s, kind, kProbeMinimum, Reading::kLimit, kind.idMinimum, kind.szMinimum,
             kind.keyMinimum);
  ReadingRow(s, kind, kProbeResolution, Reading::kResolution, kind.idResolution, kind.szResolution,
             kind.keyResolution);
  ReadingRow(s, kind, kProbeTolerance, Reading::kTolerance, kind.idTolerance, kind.szTolerance,
             kind.keyTolerance);
  if (s.HasField(kProbeAccuracy, 2)) {
    // Hundredths of a percent.
    const uint16_t w = s.buf.U16(kProbeAccuracy);
    if (w == kUnknownReading) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kind.idUnknown));
    } else {
      FormatChecked(szStr, sizeof szStr, lpszLoadString(kind.idAccuracyValue), "i",
                    static_cast<unsigned>(w));
    }
    OutputStringDataId(kind.idAccuracy, szStr, kind.keyAccuracy);
  }
  OemRow(s, kProbeOemDefined, kind.idOem, kind.keyOem);
  EndStructure();
}

// Appends up to n characters of text to a bounded buffer, turning "%%" into
// "%" when unescape is set.
struct Appender {
  char* out;
  size_t size;
  size_t length;

  void Add(const char* text, size_t n, bool unescape) {
    for (size_t i = 0; i < n && text[i]; ++i) {
      if (unescape && text[i] == '%' && i + 1 < n && text[i + 1] == '%') ++i;
      if (length + 1 >= size) break;
      out[length++] = text[i];
    }
    out[length] = '\0';
  }
  void Add(const char* text) { Add(text, strlen(text), false); }
};

}  // namespace

void FormatTemperature(char* out, size_t size, const char* format, long value, int decimals) {
  if (!out || size == 0) return;
  if (!format) format = "";
  char kinds[32];
  if (!FormatKinds(format, kinds, sizeof kinds) || strcmp(kinds, "i") != 0) {
    CopyText(out, size, format);
    return;
  }
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  unsigned long divisor = 1;
  for (int i = 0; i < decimals; ++i) divisor *= 10;
  const unsigned long magnitude =
      value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  const unsigned whole = static_cast<unsigned>(magnitude / divisor);
  const unsigned long fraction = magnitude % divisor;
  // The one conversion: the first '%' that does not start "%%". The format
  // checker has vouched that it exists and ends in a conversion letter.
  const char* conversion = format;
  while (*conversion) {
    if (conversion[0] == '%') {
      if (conversion[1] != '%') break;
      ++conversion;
    }
    ++conversion;
  }
  const char* letter = conversion + 1;
  while (*letter && !strchr("diuxXoc", *letter)) ++letter;
  char numberFormat[32];
  const size_t numberFormatLength = static_cast<size_t>(letter - conversion) + 1;
  if (!*letter || numberFormatLength >= sizeof numberFormat || !strchr("diu", *letter)) {
    // A conversion that cannot carry a decimal number: whole degrees only.
    FormatChecked(out, size, format, "i", whole);
    return;
  }
  memcpy(numberFormat, conversion, numberFormatLength);
  numberFormat[numberFormatLength] = '\0';
  char number[64];
  FormatChecked(number, sizeof number, numberFormat, "i", whole);
  Appender a = {out, size, 0};
  out[0] = '\0';
  a.Add(format, static_cast<size_t>(conversion - format), true);
  if (value < 0) a.Add("-");
  a.Add(number);
  if (decimals > 0) {
    // All the fraction's digits, leading zeros included.
    char digits[kMaxDecimals + 2] = ".";
    unsigned long rest = fraction;
    for (int i = decimals; i > 0; --i) {
      digits[i] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    }
    digits[decimals + 1] = '\0';
    a.Add(digits);
  }
  a.Add(letter + 1, strlen(letter + 1), true);
}

void DecodeVoltageProbe(const DmiStructure& s) { DecodeProbe(s, kVoltageProbe); }
void DecodeTemperatureProbe(const DmiStructure& s) { DecodeProbe(s, kTemperatureProbe); }
void DecodeCurrentProbe(const DmiStructure& s) { DecodeProbe(s, kCurrentProbe); }

void DecodeCoolingDevice(const DmiStructure& s) {
  OutputStructNameData(kIdCoolingHeading);
  char szStr[kRowTextSize];
  if (s.HasField(kCoolingProbeHandle, 2)) {
    const uint16_t wHandle = s.buf.U16(kCoolingProbeHandle);
    if (wHandle == kNoProbeHandle) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdNoProbe));
    } else {
      snprintf(szStr, sizeof szStr, "%04lXH", static_cast<unsigned long>(wHandle));
    }
    OutputStringDataId(kIdProbeHandle, szStr, "szCoolDevTmpProbHand");
  }
  if (s.HasField(kCoolingTypeAndStatus, 1)) {
    const unsigned b = s.buf.U8(kCoolingTypeAndStatus);
    // Types 1 to 9 are devices; 0x10 and 0x11 say only whether the cooling
    // is active or passive. Codes in between have no text.
    const unsigned type = b & 0x1F;
    if (type == 0x10) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdActiveCooling));
    } else if (type == 0x11) {
      CopyText(szStr, sizeof szStr, lpszLoadString(kIdPassiveCooling));
    } else {
      CodeText(szStr, sizeof szStr, type, kIdCoolingTypeFirst, 9);
    }
    OutputStringDataId(kIdCoolingType, szStr, "szCoolDevType");
    CodeText(szStr, sizeof szStr, b >> 5, kIdCoolingStatusFirst, kStatusCodes);
    OutputStringDataId(kIdCoolingStatus, szStr, "szCoolDevStat");
  }
  if (s.HasField(kCoolingUnitGroup, 1)) {
    snprintf(szStr, sizeof szStr, "%u", static_cast<unsigned>(s.buf.U8(kCoolingUnitGroup)));
    OutputStringDataId(kIdCoolingGroup, szStr, "szCoolDevUnitGrp");
  }
  OemRow(s, kCoolingOemDefined, kIdCoolingOem, "szCoolDevOEMNo");
  EndStructure();
}

void DecodeOutOfBandRemoteAccess(const DmiStructure& s) {
  OutputStructNameData(kIdRemoteHeading);
  StringRow(s, kIdRemoteManufacturer, kRemoteManufacturer, "szOutOfBndManuName", RowForm::kLine);
  // The heading belongs to the two connection rows and goes with them.
  if (s.HasField(kRemoteConnections, 1)) {
    const unsigned b = s.buf.U8(kRemoteConnections);
    OutputStringDataId(kIdConnections, nullptr, nullptr);
    OutputStringDataId(kIdInbound, lpszLoadString(b & 1 ? kIdEnabled : kIdDisabled),
                       "szOutOfBndInbound");
    OutputStringDataId(kIdOutbound, lpszLoadString(b & 2 ? kIdEnabled : kIdDisabled),
                       "szOutOfBndOutbound");
  }
  EndStructure();
}
