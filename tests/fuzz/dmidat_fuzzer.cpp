// The DMI.DAT lookup on arbitrary file contents. The first byte is the code
// looked up, the bytes up to the first NUL (at most 31) the section name;
// the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "readdat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int code = data[0];
  size_t at = 1;
  std::string section;
  while (at < size && data[at] != 0 && section.size() < 31)
    section += static_cast<char>(data[at++]);
  if (at < size && data[at] == 0) ++at;

  // The name goes into a buffer of exactly the promised size, so that a
  // longer one is caught.
  char* name = new char[kDmiDatLineMax + 1];
  memcpy(name, "unchanged", 10);
  const DmiDatTable table =
      parse_dmi_dat(std::string_view(reinterpret_cast<const char*>(data) + at, size - at));
  lookup_in_dmi_dat(table, section.c_str(), code, name);
  delete[] name;
  return 0;
}
