#include "expected_report.h"

#include <cstdio>

std::string ExpectedReport(const std::string& name) {
  const std::string path = std::string(SYSLENS_TESTDATA_DIR) + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<cannot read " + path + ">";
  std::string text;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  std::fclose(file);
  return text;
}
