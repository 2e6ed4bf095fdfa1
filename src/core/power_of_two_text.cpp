// Sizes given as a power of two, as decimal text of any length.
#include "power_of_two_text.h"

#include <cstdint>
#include <cstring>

#include "format_checked.h"
#include "int_str.h"

// Within 64 bits the value is computed directly; beyond, by doubling a
// decimal digit string.
void PowerOfTwoText(int n, char* out, size_t size) {
  if (size == 0) return;
  if (n < 0) n = 0;
  // Digits, least significant first; 2 to the power 255 has 77.
  unsigned char digits[80];
  size_t count = 0;
  if (n < 64) {
    uint64_t value = uint64_t{1} << n;
    do {
      digits[count++] = static_cast<unsigned char>(value % 10);
      value /= 10;
    } while (value != 0);
  } else {
    digits[count++] = 1;
    for (int i = 0; i < n; ++i) {
      int carry = 0;
      for (size_t d = 0; d < count; ++d) {
        const int v = digits[d] * 2 + carry;
        digits[d] = static_cast<unsigned char>(v % 10);
        carry = v / 10;
      }
      if (carry && count < sizeof digits) digits[count++] = static_cast<unsigned char>(carry);
    }
  }
  size_t o = 0;
  for (size_t d = count; d > 0 && o + 1 < size; --d)
    out[o++] = static_cast<char>('0' + digits[d - 1]);
  out[o] = '\0';
}

void FormatNumberText(char* out, size_t size, const char* caption, const char* digits) {
  char kinds[4];
  if (!FormatKinds(caption, kinds, sizeof kinds) || strcmp(kinds, "i") != 0) {
    CopyText(out, size, caption);
    return;
  }
  // A caption is at most a loaded string long.
  char format[kLoadedStringSize];
  size_t o = 0;
  for (const char* p = caption; *p && o + 3 < sizeof format; ++p) {
    if (*p != '%') {
      format[o++] = *p;
    } else if (p[1] == '%') {
      format[o++] = '%';
      format[o++] = '%';
      ++p;
    } else {
      // FormatKinds has checked the conversion: flags, width, precision
      // and length letters up to one of these.
      while (p[1] && !strchr("diuxXoc", p[1])) ++p;
      if (!p[1]) break;
      ++p;
      format[o++] = '%';
      format[o++] = 's';
    }
  }
  format[o] = '\0';
  FormatChecked(out, size, format, "s", digits);
}
