// Language-indexed resources: the current language, string lookups with
// rotating result buffers, and the optional override module.
#pragma once

#include <cstdint>

#include "platform.h"

constexpr int kLanguageCount = 25;
constexpr int kLoadedStringCount = 20;
constexpr int kLoadedStringSize = 500;

extern int iCurrentLanguage;
extern QHANDLE hResourceInstance;
extern const uint16_t LangID[kLanguageCount];

int InitLanguages(QHANDLE hInstance);
int InitLanguagesEx(QHANDLE hInstance, int iLanguageToUse);
int GetCurrentLanguage();

// Text of base id iID in the current language; valid for 20 further calls.
const char* lpszLoadString(unsigned iID);

int GetStringId(unsigned iID);
int GetMenuId(unsigned iID);
int GetIconId(unsigned iID);
int GetBitmapId(unsigned iID);
int GetDialogId(unsigned iID);
int GetAcceleratorId(unsigned iID);

bool GetOverrideString(unsigned iStringID, char* pszBuffer, uint32_t dwBufferLength);

// True when text asks for the same arguments as the English string of base
// id iID (the same conversion kinds in the same order), so a caller that
// formats it with the English string's arguments reads only what it passes.
// A text whose conversions cannot be checked never matches.
bool KeepsEnglishConversions(unsigned iID, const char* text);

// The call into the override module (PlatCallOverrideModule by default).
// Tests put a double in its place; null restores the default. Returns the
// call that was in place.
using OverrideModuleCall = bool (*)(const char* programName, int stringId, unsigned langId,
                                    char* buffer, uint32_t size, uint32_t* result);
OverrideModuleCall SetOverrideModuleCall(OverrideModuleCall call);
