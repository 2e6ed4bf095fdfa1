// Sizes given as a power of two, as decimal text. They reach far beyond 32
// bits for large codes (a memory module's size code goes up to 124, the
// memory controller's maximum up to 255), so they are shown as text, in full,
// where an int no longer holds them.
#pragma once

#include <cstddef>

// Decimal text of 2 to the power n (n below 0 counts as 0), cut to size.
void PowerOfTwoText(int n, char* out, size_t size);

// Formats a caption whose one conversion is an integer with a number given
// as decimal text: the conversion becomes %s (its flags and width dropped).
// A caption of another shape is copied as it stands, as FormatChecked does.
void FormatNumberText(char* out, size_t size, const char* caption, const char* digits);
