#include "internat.h"

#include <cstdarg>
#include <cstdio>

#include "format_checked.h"
#include "int_str.h"
#include "platform.h"

namespace {

constexpr size_t kPieceSize = 40;
// Callers give room for the time, the connector and the date.
constexpr size_t kResultSize = 84;

struct IntlSettings {
  int iTime;
  char sTime[kPieceSize];
  char s1159[kPieceSize];
  char s2359[kPieceSize];
  int iTLZero;
  int iDate;
  char sDate[kPieceSize];
};

// Settings are the user's and may be long: every piece is cut to its buffer.
__attribute__((format(printf, 2, 3))) void FormatPiece(char (&out)[kPieceSize], const char* format,
                                                       ...) {
  va_list args;
  va_start(args, format);
  vsnprintf(out, sizeof out, format, args);
  va_end(args);
}

IntlSettings ReadIntlSettings() {
  IntlSettings s{};
  s.iTime = PlatGetProfileInt("Intl", "iTime", 1);
  PlatGetProfileString("Intl", "sTime", ":", s.sTime, kPieceSize);
  PlatGetProfileString("Intl", "s1159", ":", s.s1159, kPieceSize);
  PlatGetProfileString("Intl", "s2359", ":", s.s2359, kPieceSize);
  s.iTLZero = PlatGetProfileInt("Intl", "iTLZero", 1);
  s.iDate = PlatGetProfileInt("Intl", "iDate", 0);
  PlatGetProfileString("Intl", "sDate", ":", s.sDate, kPieceSize);
  return s;
}

const char* Connector(int language) {
  switch (language) {
    case 4: return " op ";
    case 7: return " le ";
    case 8: return " am ";
    case 14: return " il ";
    case 18: return " em ";
    case 20: return " del ";
    default: return "  ";
  }
}

void FormatTime(const IntlSettings& s, int iHour, int iMin, int iSecs, bool withSeconds,
                char (&out)[kPieceSize]) {
  char seconds[kPieceSize] = "";
  if (withSeconds) FormatPiece(seconds, "%s%02i", s.sTime, iSecs);
  int hour = iHour;
  const char* suffix = s.s2359;
  if (s.iTime == 0) {
    hour = iHour % 12;
    if (hour == 0) hour = 12;
    suffix = iHour < 12 ? s.s1159 : s.s2359;
  }
  const char* gap = suffix[0] ? " " : "";
  FormatPiece(out, s.iTLZero ? "%02i%s%02i%s%s%s" : "%i%s%02i%s%s%s", hour, s.sTime, iMin, seconds,
              gap, suffix);
}

void FormatDate(const IntlSettings& s, int iDay, int iMonth, int iYear, char (&out)[kPieceSize]) {
  char year[kPieceSize];
  if (iYear == 0) {
    FormatPiece(year, "00");
  } else {
    FormatPiece(year, "%d", iYear);
  }
  if (s.iDate == 1) {
    FormatPiece(out, "%i%s%i%s%s", iDay, s.sDate, iMonth, s.sDate, year);
  } else if (s.iDate == 2) {
    FormatPiece(out, "%s%s%i%s%i", year, s.sDate, iMonth, s.sDate, iDay);
  } else {
    FormatPiece(out, "%i%s%i%s%s", iMonth, s.sDate, iDay, s.sDate, year);
  }
}

}  // namespace

void PrintInternationalDateTime(char* pszBuf, int iDay, int iMonth, int iYear, int iMin, int iHour,
                                int iSecs, int iFlags) {
  if (!pszBuf) return;
  const IntlSettings s = ReadIntlSettings();
  char time[kPieceSize] = "";
  char date[kPieceSize] = "";
  if (iFlags & kIntlTime) {
    FormatTime(s, iHour, iMin, iSecs, (iFlags & kIntlSeconds) != 0, time);
    CopyText(pszBuf, kResultSize, time);
  }
  if (iFlags & kIntlDate) {
    FormatDate(s, iDay, iMonth, iYear, date);
    CopyText(pszBuf, kResultSize, date);
  }
  if ((iFlags & kIntlTime) && (iFlags & kIntlDate)) {
    snprintf(pszBuf, kResultSize, "%s%s%s", time, Connector(GetCurrentLanguage()), date);
  }
}
