// lookup_type on arbitrary DMI.DAT contents. The first byte is the code
// looked up, the bytes up to the first NUL (at most 31) the section name;
// the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "readdat.h"
#include "test_env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TempDir* dir = new TempDir;
  static const std::string path = dir->File(pszDMI_datafile);
  if (size < 1) return 0;
  const int code = data[0];
  size_t at = 1;
  std::string section;
  while (at < size && data[at] != 0 && section.size() < 31) section += static_cast<char>(data[at++]);
  if (at < size && data[at] == 0) ++at;

  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return 0;
  const size_t rest = size - at;
  const bool written = rest == 0 || fwrite(data + at, 1, rest, out) == rest;
  if (fclose(out) != 0 || !written) return 0;

  // The name goes into a buffer of exactly the promised size, so that a
  // longer one is caught.
  char* name = new char[kDmiDatLineMax + 1];
  memcpy(name, "unchanged", 10);
  lookup_type(path.c_str(), section.c_str(), code, name);
  delete[] name;
  return 0;
}
