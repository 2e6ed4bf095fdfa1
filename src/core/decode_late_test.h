// Shared by the decoder tests of types 18 to 21 and of types 22 to 25: the
// fixture, whose DMI.DAT names the codes of both groups (their notebook run
// crosses from one to the other), and the builders both use.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dump_builder.h"
#include "dump_reader.h"
#include "int_str.h"

namespace decode_late {

// Runs structures through the decoder as one dump (shared per-dump counters,
// one structure buffer reused, so a short structure is followed by what a
// longer one left there) and returns what the sink got. Each test runs in
// its own directory, where DMI.DAT is read from.
class DecodeLate : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    oldRevision_ = g_bDMIBIOSRevision;
    g_bDMIBIOSRevision = 0x23;
    ASSERT_TRUE(Start({"*MEMERRTYPE", "02H=Unknown", "03H=OK", "06H=Single-bit error", "!Undefined",
                       "*MEMERRGRA", "02H=Unknown", "03H=Device level", "*MEMERROPE", "02H=Unknown",
                       "03H=Read",
                       // PNTDEV before PNTDEVINT: sections are found by prefix.
                       "*PNTDEV", "07H=Touchpad", "*PNTDEVINT", "04H=PS/2", "*BATTYP",
                       "02H=Unknown", "06H=Lithium-ion"}));
  }
  void TearDown() override {
    g_bDMIBIOSRevision = oldRevision_;
    EXPECT_TRUE(Stop());
  }

  void PrintAll(const std::vector<Bytes>& structures) {
    size_t capacity = 0;
    for (const Bytes& s : structures) capacity = std::max(capacity, s.size());
    Bytes buffer(capacity, 0xEE);
    DumpState dump;
    for (const Bytes& s : structures) {
      std::copy(s.begin(), s.end(), buffer.begin());
      dump.PrintBuffer(buffer);
    }
    arrayMapped_ = dump.dmi.arrayMappedAddresses;
    deviceMapped_ = dump.dmi.deviceMappedAddresses;
  }

  std::string Run(Sink sink, const std::vector<Bytes>& structures) {
    return DecoderHarness::Run(sink, [&] { PrintAll(structures); });
  }
  std::string Text(const std::vector<Bytes>& s) { return Run(Sink::kText, s); }
  std::string Html(const std::vector<Bytes>& s) { return Run(Sink::kHtml, s); }
  std::string Ini(const std::vector<Bytes>& s) { return Run(Sink::kIni, s); }

  uint8_t oldRevision_ = 0;
  int arrayMapped_ = 0;
  int deviceMapped_ = 0;
};

// Cuts a structure's formatted area to length (string set kept empty).
inline Bytes Short(uint8_t type, const Bytes& fields, size_t length) {
  Bytes f(fields);
  f.resize(length - 4);
  return Structure(type, 0x0040, f);
}

// Strings: 1 "Rear", 2 "Maker", 3 "Li-Ion 4400", 4 "1.1", 5 "LION",
// 6 "04/02/99", 7 "B-77".
struct BatteryFields {
  uint8_t date = 0;
  uint8_t serial = 0;
  uint8_t chemistry = 2;
  uint16_t capacity = 4400;
  uint16_t voltage = 10800;
  uint8_t maxError = 0;
  uint16_t sbdsSerial = 0x1234;
  uint16_t sbdsDate = 0x2A21;
  uint8_t sbdsChemistry = 5;
  uint8_t multiplier = 10;
  uint32_t oem = 0xDEADBEEF;
  size_t length = 26;
};

inline Bytes Battery(const BatteryFields& b) {
  Bytes f = {1, 2, b.date, b.serial, 3, b.chemistry};
  PutU16(f, b.capacity);
  PutU16(f, b.voltage);
  f.push_back(4);
  f.push_back(b.maxError);
  PutU16(f, b.sbdsSerial);
  PutU16(f, b.sbdsDate);
  f.push_back(b.sbdsChemistry);
  f.push_back(b.multiplier);
  PutU32(f, b.oem);
  f.resize(b.length - 4);
  return Structure(22, 0x0035, f,
                   {"Rear", "Maker", "Li-Ion 4400", "1.1", "LION", "04/02/99", "B-77"});
}

inline Bytes Reset(uint8_t capabilities, uint16_t count, uint16_t limit, uint16_t interval,
                   uint16_t timeout) {
  Bytes f = {capabilities};
  PutU16(f, count);
  PutU16(f, limit);
  PutU16(f, interval);
  PutU16(f, timeout);
  return Structure(23, 0x0036, f);
}

inline Bytes Security(uint8_t settings) { return Structure(24, 0x0037, {settings}); }

inline Bytes Power(uint8_t month, uint8_t day, uint8_t hour, uint8_t minute, uint8_t second) {
  return Structure(25, 0x0038, {month, day, hour, minute, second});
}

}  // namespace decode_late
