// The sample override module's text file: which caption answers a lookup.
//
// The file lies beside the module as CustomStrings.txt. It is outside input:
// every line is checked, a malformed line is skipped, and nothing is read or
// written past the file's text or the caller's buffer. The format is in
// docs/override.md.
#pragma once

#include <cstddef>
#include <cstdint>

// Results of GetQmrkString, as Win32 error codes; only 0 means a text was
// supplied.
constexpr uint32_t kOverrideOk = 0;
constexpr uint32_t kOverrideNoFile = 2;            // ERROR_FILE_NOT_FOUND
constexpr uint32_t kOverrideBadParameter = 87;     // ERROR_INVALID_PARAMETER
constexpr uint32_t kOverrideBufferTooSmall = 122;  // ERROR_INSUFFICIENT_BUFFER
constexpr uint32_t kOverrideFileTooLarge = 223;    // ERROR_FILE_TOO_LARGE
constexpr uint32_t kOverrideNotFound = 1168;       // ERROR_NOT_FOUND

// Larger text files are refused whole: a site lists a few captions, and a
// cut file could end inside an entry.
constexpr size_t kMaxOverrideFileSize = 64 * 1024;

constexpr char kOverrideTextFileName[] = "CustomStrings.txt";

// Looks up the caption for stringId in the file text (length bytes, not
// NUL-terminated), for the program named program (compared without regard to
// ASCII case) and the Windows language identifier langId. An entry for
// exactly langId wins over one for any language; among equals the first in
// the file wins. On kOverrideOk, out holds the text and its NUL; otherwise
// out is left unchanged.
uint32_t FindOverrideText(const char* text, size_t length, const char* program, uint32_t stringId,
                          uint32_t langId, char* out, uint32_t size);

// Reads the file at path (at most kMaxOverrideFileSize bytes) and answers
// from it as FindOverrideText does.
uint32_t AnswerFromFile(const char* path, const char* program, uint32_t stringId, uint32_t langId,
                        char* out, uint32_t size);
