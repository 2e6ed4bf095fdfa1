// Test helpers: scratch files in the test's temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

inline std::string ScratchPath(const std::string& name) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + "probex_" + info->test_suite_name() + "_" + info->name() + "_" +
         name;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = fopen(path.c_str(), "rb")) {
    int c;
    while ((c = fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    fclose(file);
  }
  return bytes;
}
