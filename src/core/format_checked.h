// Captions and row formats come from string resources, which a site may
// replace through the override module. Before a format is used, its
// conversions are checked against the arguments the caller passes, so a
// replaced text with a wrong or extra placeholder cannot read arguments that
// were never passed.
#pragma once

#include <cstddef>

// kinds: one letter per argument, in order: 's' text, 'i' int (also char
// and unsigned), 'l' long or unsigned long, 'L' long long or unsigned long long.
// Formats whose conversions do not match are copied as plain text instead.
// The result is cut to size - 1 characters. Returns true when formatted.
bool FormatChecked(char* out, size_t size, const char* format, const char* kinds, ...);

// The conversion kinds a format asks for, in the letters above; false for a
// format this checker does not accept (for example '*' widths or %n).
bool FormatKinds(const char* format, char* kinds, size_t size);

// The text cut to size - 1 characters, as snprintf(out, size, "%s", text)
// writes it, without the formatting machinery: the report copies a caption
// or a name for nearly every row, and snprintf's setup costs some hundred
// instructions per copy.
void CopyText(char* out, size_t size, const char* text);
// Appends text to the NUL-terminated out of size bytes, cut to fit.
void AppendText(char* out, size_t size, const char* text);
