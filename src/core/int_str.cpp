#include "int_str.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "format_checked.h"

int iCurrentLanguage = 0;
QHANDLE hResourceInstance = nullptr;

// Windows language identifier of each language number.
const uint16_t LangID[kLanguageCount] = {0x0409, 0x0401, 0x0804, 0x0406, 0x0413, 0x0429, 0x040B,
                                         0x040C, 0x0407, 0x0408, 0x040D, 0x040E, 0x040F, 0x0421,
                                         0x0410, 0x0411, 0x0412, 0x0414, 0x0416, 0x0419, 0x040A,
                                         0x041D, 0x041E, 0x041F, 0x0404};

namespace {

constexpr unsigned kFirstReportString = 3000;

char szLoadedStringData[kLoadedStringCount][kLoadedStringSize];
int iWhichString = 0;

OverrideModuleCall overrideModuleCall = PlatCallOverrideModule;

// Strings below 3000 move by 100 per language, report strings by 1000.
unsigned TranslatedStringId(unsigned iID) {
  const unsigned step = iID >= kFirstReportString ? 1000u : 100u;
  return iID + step * static_cast<unsigned>(iCurrentLanguage);
}

// Longest list of conversions compared; no English string comes near it.
constexpr size_t kMaxConversions = 64;

int SetLanguage(QHANDLE hInstance, int language) {
  const int previous = iCurrentLanguage;
  if (hInstance) hResourceInstance = hInstance;
  if (language < 0 || language >= kLanguageCount) language = 0;
  iCurrentLanguage = language;
  return language != previous ? 1 : 0;
}

// Resource ordinals are 16-bit.
unsigned TranslatedResourceId(unsigned iID) {
  return (iID + 1000u * static_cast<unsigned>(iCurrentLanguage)) & 0xFFFFu;
}

int LocalisedResourceId(unsigned iID, ResKind kind) {
  const unsigned translated = TranslatedResourceId(iID);
  return static_cast<int>(PlatFindResource(hResourceInstance, translated, kind) ? translated : iID);
}

// File name of the running program without directory and extension,
// worked out once: every report string passes it to the override module.
const char* ProgramModuleName() {
  static const std::string name = [] {
    char path[kMaxPath] = "";
    const unsigned length = PlatGetModuleFileName(nullptr, path, sizeof path);
    // Unknown: the module gets an empty name.
    if (length == 0 || length >= sizeof path) return std::string();
    path[length] = '\0';
    const char* base = path;
    for (const char* p = path; *p; ++p) {
      if (*p == '\\' || *p == '/') base = p + 1;
    }
    // A name longer than 255 characters is cut; the module only uses it to
    // choose.
    std::string result(base, strnlen(base, 255));
    if (const size_t dot = result.rfind('.'); dot != std::string::npos) result.resize(dot);
    return result;
  }();
  return name.c_str();
}

}  // namespace

int InitLanguages(QHANDLE hInstance) {
  return SetLanguage(hInstance, PlatGetProfileInt("QMRKWIN", "CurrentLanguage", 0));
}

int InitLanguagesEx(QHANDLE hInstance, int iLanguageToUse) {
  return SetLanguage(hInstance, iLanguageToUse);
}

int GetCurrentLanguage() { return iCurrentLanguage; }

const char* lpszLoadString(unsigned iID) {
  const unsigned translated = TranslatedStringId(iID);
  char* buffer = szLoadedStringData[iWhichString];
  iWhichString = (iWhichString + 1) % kLoadedStringCount;
  buffer[0] = '\0';
  // Callers format report strings with the arguments the English string asks
  // for. A replaced or translated text with other conversions would make
  // them read arguments that were never passed, so it gives way to English.
  if (iID >= kFirstReportString && GetOverrideString(iID, buffer, kLoadedStringSize)) {
    buffer[kLoadedStringSize - 1] = '\0';  // the module's text may fill the buffer
    // The module's text ends at its first NUL. Clearing the rest means a
    // caller that reads NUL-separated parts up to an empty one (the save
    // dialog's filter, 3956) stops inside this buffer, not in stale text.
    const size_t length = strlen(buffer);
    memset(buffer + length, 0, kLoadedStringSize - length);
    if (KeepsEnglishConversions(iID, buffer)) return buffer;
  } else if (translated != iID &&
             PlatLoadString(hResourceInstance, translated, buffer, kLoadedStringSize) > 0 &&
             KeepsEnglishConversions(iID, buffer)) {
    return buffer;
  }
  if (PlatLoadString(hResourceInstance, iID, buffer, kLoadedStringSize) <= 0) buffer[0] = '\0';
  return buffer;
}

bool KeepsEnglishConversions(unsigned iID, const char* text) {
  if (!text) return false;
  char english[kLoadedStringSize];
  if (PlatLoadString(hResourceInstance, iID, english, sizeof english) <= 0) english[0] = '\0';
  char englishKinds[kMaxConversions + 1];
  char textKinds[kMaxConversions + 1];
  return FormatKinds(english, englishKinds, sizeof englishKinds) &&
         FormatKinds(text, textKinds, sizeof textKinds) && strcmp(englishKinds, textKinds) == 0;
}

OverrideModuleCall SetOverrideModuleCall(OverrideModuleCall call) {
  OverrideModuleCall previous = overrideModuleCall;
  overrideModuleCall = call ? call : PlatCallOverrideModule;
  return previous;
}

int GetStringId(unsigned iID) {
  const unsigned translated = TranslatedStringId(iID);
  char scratch[30];
  return static_cast<int>(PlatLoadString(hResourceInstance, translated, scratch, sizeof scratch) > 0
                              ? translated
                              : iID);
}

int GetMenuId(unsigned iID) { return LocalisedResourceId(iID, ResKind::Menu); }
int GetIconId(unsigned iID) { return LocalisedResourceId(iID, ResKind::Icon); }
int GetBitmapId(unsigned iID) { return LocalisedResourceId(iID, ResKind::Bitmap); }
int GetDialogId(unsigned iID) { return LocalisedResourceId(iID, ResKind::Dialog); }
int GetAcceleratorId(unsigned iID) { return LocalisedResourceId(iID, ResKind::Accelerator); }

bool GetOverrideString(unsigned iStringID, char* pszBuffer, uint32_t dwBufferLength) {
  uint32_t dwError = 1;
  if (!overrideModuleCall(ProgramModuleName(), static_cast<int>(iStringID),
                          LangID[iCurrentLanguage], pszBuffer, dwBufferLength, &dwError)) {
    return false;
  }
  return dwError == 0;
}
