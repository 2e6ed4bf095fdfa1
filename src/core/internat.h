// Dates and times written in the user's international format.
#pragma once

constexpr int kIntlTime = 1;
constexpr int kIntlDate = 2;
constexpr int kIntlSeconds = 4;

// Writes the time (kIntlTime), the date (kIntlDate) or both, joined by the
// current language's connecting word, into pszBuf (at least 84 bytes).
void PrintInternationalDateTime(char* pszBuf, int iDay, int iMonth, int iYear, int iMin, int iHour,
                                int iSecs, int iFlags);
