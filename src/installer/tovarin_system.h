// TOVARIN's file-system and console calls.
#pragma once

#include <cstddef>

// The short (8.3) form of the directory dir. When the system cannot make it
// (ERROR_NOT_SUPPORTED) it is built from each entry's alternate name. False
// when dir does not exist, is not a directory, or its short form does not fit
// into size bytes.
bool GetShortDirectory(const char* dir, char* out, size_t size);

// The short form of dir built entry by entry from the alternate names, as
// GetShortDirectory does when the system cannot make it; no directory check.
bool ShortPathFromEntries(const char* dir, char* out, size_t size);

// True when both paths name the same existing directory, however spelt
// (short or long names, trailing backslash). An empty path is the current
// directory.
bool IsSameDirectory(const char* a, const char* b);

// Clears the console window and puts the cursor at the top left; does
// nothing when standard output is not a console.
void ClearScreen();

// Waits for one key press without echo. When standard input is not a
// console, one byte read from it (or its end) stands for the key.
void WaitForKey();
