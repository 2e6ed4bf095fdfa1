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
