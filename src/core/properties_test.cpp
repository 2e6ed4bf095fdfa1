// Property output: values in section "Settings" of the output file.
#include <gtest/gtest.h>

#include <fstream>

#include <cstring>
#include <string>
#include <utility>

#include "dump_builder.h"
#include "platform.h"
#include "qmrkw32.h"
#include "test_env.h"

namespace {

class Properties : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    snprintf(wnd_data.szOutputFile, sizeof wnd_data.szOutputFile, "%s", dir.File("p.ini").c_str());
  }
  void TearDown() override { ResetReportState(); }
  std::string Get(const char* section, const char* key) {
    CloseReportFiles();
    char value[64];
    PlatGetPrivateProfileString(section, key, "<none>", value, sizeof value, wnd_data.szOutputFile);
    return value;
  }
  TempDir dir;
};

TEST_F(Properties, NumbersInDecimal) {
  EXPECT_NE(WritePropertyDword("dwMax", 4294967295u), 0);
  EXPECT_NE(WritePropertyDword("dwZero", 0), 0);
  EXPECT_EQ(Get("Settings", "dwMax"), "4294967295");
  EXPECT_EQ(Get("Settings", "dwZero"), "0");
}

TEST_F(Properties, ControlCharactersCannotForgeKeysOrSections) {
  WritePropertyString("szVendor", "Acme\r\n[Evil]\r\nbBIOSDetected=0\tx");
  EXPECT_EQ(Get("Evil", "bBIOSDetected"), "<none>");
  EXPECT_EQ(Get("Settings", "bBIOSDetected"), "<none>");
  EXPECT_EQ(Get("Settings", "szVendor"), "Acme  [Evil]  bBIOSDetected=0 x");
  // C1 controls (NEL) and the line and paragraph separators end lines for
  // some readers (Python's splitlines): one blank each.
  WritePropertyString("szBIOSVendor",
                      "a\xC2\x85[Forged]\xC2\x85"
                      "FORGED=1\xE2\x80\xA8[F2]\xE2\x80\xA9z");
  EXPECT_EQ(Get("Settings", "szBIOSVendor"), "a [Forged] FORGED=1 [F2] z");
}

TEST_F(Properties, BlanksAroundKeysAndValuesAreTrimmed) {
  WritePropertyString("szOEMString1   ", "  padded value ");
  WritePropertyString("szBlank", "   ");
  CloseReportFiles();
  EXPECT_EQ(ReadText(wnd_data.szOutputFile),
            "[Settings]\r\nszOEMString1=padded value\r\nszBlank=\r\n");
}

TEST_F(Properties, ReplacesKeysAndKeepsOtherSections) {
  PlatWritePrivateProfileString("Other", "keep", "yes", wnd_data.szOutputFile);
  WritePropertyString("szA", "1");
  WritePropertyString("szA", "2");
  EXPECT_EQ(Get("Settings", "szA"), "2");
  EXPECT_EQ(Get("Other", "keep"), "yes");
  EXPECT_EQ(ReadText(wnd_data.szOutputFile).find("szA=1"), std::string::npos);
}

// The report's writer keeps the file in memory and writes it when closed;
// the result must be the file the profile functions write key by key.
TEST_F(Properties, SameFileAsTheProfileFunctionsWriteKeyByKey) {
  const char* starts[] = {
      nullptr,  // no file yet
      "",
      "[Other]\r\nkeep=yes\r\n\r\n[Settings]\r\nszA=old\r\n",
      "[settings]\r\n  SZA = old  \r\nszB\r\nszA=second\r\nlast=1\r\n",
      "[Settings]\r\nszA=old\r\n\r\n[After]\r\nx=1\r\n",       // not the last section
      "[Settings]\r\nszA=old\r\n; trailing comment\r\n",       // not ending with a key
      "[Settings]\nszA=old\n",                                 // LF line ends
      "\xEF\xBB\xBF[Settings]\r\nszA=old\r\n",                 // byte order mark
      "[Settings]\r\nszA=old\r\n[Settings]\r\nszC=twice\r\n",  // the section twice
      "[Settings]\nszA=old\n\n; next\n[After]\nx=1\n",         // LF, a section after
      "[Settings]\rszA=old\r[After]\rx=1",                     // lone CR, no last end
      "[Other]\r\nk=1\r\n[Settings]\r\nszA=old",               // no line end at all
      "\xEF\xBB\xBF[Settings]\nszA=old\n[After]\n",            // mark, section after
      "[Settings]\r\n\r\n[After]\r\nszA=not this one\r\n",     // no keys yet
      "[After]\r\nx=1\r\n",                                    // no Settings yet
  };
  const std::pair<const char*, const char*> writes[] = {
      {"szA", "1"},     {"szC", "3"}, {"szb", "2"},     {"szA", "1"},
      {"SZC", "three"}, {"szD", "4"}, {"szA", "again"}, {"last", "1"},
  };
  const std::string oracle = dir.File("oracle.ini");
  for (const char* start : starts) {
    remove(wnd_data.szOutputFile);
    remove(oracle.c_str());
    if (start) {
      WriteBytes(wnd_data.szOutputFile, Bytes(start, start + strlen(start)));
      WriteBytes(oracle, Bytes(start, start + strlen(start)));
    }
    for (const auto& [key, value] : writes) {
      EXPECT_NE(WritePropertyString(key, value), 0);
      PlatWritePrivateProfileString("Settings", key, value, oracle.c_str());
    }
    CloseReportFiles();
    EXPECT_EQ(ReadText(wnd_data.szOutputFile), ReadText(oracle)) << (start ? start : "no file");
  }
}

#ifdef __linux__
// Files of every shape are kept in memory for the report: writing many keys
// costs about one file's worth of writes, not one file per key (the bytes
// this process has written, from the kernel).
TEST_F(Properties, EveryShapeIsWrittenOnce) {
  const auto bytesWritten = [] {
    std::ifstream io("/proc/self/io");
    std::string name;
    unsigned long long value = 0;
    while (io >> name >> value) {
      if (name == "wchar:") return value;
    }
    return 0ull;
  };
  for (const char* start : {"[Settings]\nszA=old\n[After]\nx=1\n", "[Settings]\nszA=old\n"}) {
    WriteBytes(wnd_data.szOutputFile, Bytes(start, start + strlen(start)));
    const unsigned long long before = bytesWritten();
    for (int i = 0; i < 2000; ++i) {
      WritePropertyString(("szKey" + std::to_string(i)).c_str(), "a value of some length");
    }
    CloseReportFiles();
    const size_t size = ReadText(wnd_data.szOutputFile).size();
    EXPECT_LT(bytesWritten() - before, 4 * size) << start;
  }
}
#endif

}  // namespace
