// The viewer's parameter-string scan on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "invocation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ParameterFields fields;
  ScanParameterString(text.c_str(), &fields);
  return 0;
}
