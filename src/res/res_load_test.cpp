// Windows only: the string tables compiled by windres must give back, through
// LoadStringW and LoadStringA, exactly the texts of the POSIX table generated
// from the same sources.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "res_table.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

std::wstring Wide(const ResString& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, ResText(s), int(s.length), nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, ResText(s), int(s.length), &out[0], n);
  return out;
}

// What LoadStringA should hand out: the text in the system's ANSI code page.
std::string Ansi(const ResString& s) {
  std::wstring w = Wide(s);
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), &out[0], n, nullptr, nullptr);
  return out;
}

TEST(ResLoad, EveryStringReadsBackAsUtf16) {
  for (size_t i = 0; i < kResStringCount; ++i) {
    const ResString& s = kResStrings[i];
    const wchar_t* p = nullptr;
    // Buffer size 0: a pointer to the resource text and its full length,
    // embedded NULs included.
    int n = LoadStringW(Self(), s.id, reinterpret_cast<LPWSTR>(&p), 0);
    ASSERT_GT(n, 0) << "id " << s.id;
    EXPECT_EQ(std::wstring(p, size_t(n)), Wide(s)) << "id " << s.id;
  }
}

TEST(ResLoad, EveryStringReadsBackThroughLoadStringA) {
  for (size_t i = 0; i < kResStringCount; ++i) {
    const ResString& s = kResStrings[i];
    std::string want = Ansi(s);
    if (want.size() > 499) want.resize(499);
    char buf[500];
    std::memset(buf, 'X', sizeof buf);
    int n = LoadStringA(Self(), s.id, buf, sizeof buf);
    ASSERT_EQ(n, int(want.size())) << "id " << s.id;
    EXPECT_EQ(std::string(buf, size_t(n)), want) << "id " << s.id;
    EXPECT_EQ(buf[n], '\0') << "id " << s.id;
  }
}

TEST(ResLoad, ControlCharactersAndEmbeddedNuls) {
  char buf[500];
  ASSERT_EQ(LoadStringA(Self(), 3003, buf, sizeof buf), 22);
  EXPECT_STREQ(buf, " DMI BIOS\t: Detected\r\n");
  ASSERT_EQ(LoadStringA(Self(), 3001, buf, sizeof buf), 15);
  EXPECT_STREQ(buf, "DMI Information");

  // The save dialog's filter: pairs separated by NULs, ending in a double NUL.
  std::memset(buf, 'X', sizeof buf);
  const char filter[] = "Log Files\0*.log;*.txt\0";  // + terminator
  ASSERT_EQ(LoadStringA(Self(), 3956, buf, sizeof buf), int(sizeof filter - 1));
  EXPECT_EQ(std::memcmp(buf, filter, sizeof filter), 0);
}

TEST(ResLoad, MissingIdsFail) {
  char buf[30];
  for (unsigned id : {0u, 7u, 3013u, 3950u, 4000u, 5957u})
    EXPECT_EQ(LoadStringA(Self(), id, buf, sizeof buf), 0) << id;
}

}  // namespace
