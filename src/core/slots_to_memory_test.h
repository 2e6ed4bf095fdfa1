// Shared by the decoder tests of types 9 to 13 and of types 16 and 17: the
// fixture, whose DMI.DAT names the codes of both groups (their whole-dump
// run crosses from one to the other), and the builders both use.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dmi_rows.h"
#include "dump_builder.h"
#include "int_str.h"

namespace slots_to_memory {

using Dump = std::vector<Bytes>;

// Runs structures through the decoder as one dump (shared per-dump counters
// and pending-table flags, a pending table closed at the end) in one sink and
// returns what that sink got. Each test runs in its own directory, where
// DMI.DAT is read from.
class SlotsToMemory : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    // No section has a default, so unnamed codes can be tested; names longer
    // than the slot table's columns test the cuts.
    // clang-format off
    ASSERT_TRUE(Start({"*DMISLOTTYPE", "06H=PCI", "A5H=PCI Express x16",
                       "*DMISLOTDATABUSWIDTH", "05H=32-bit", "0DH=x16",
                       "*DMICURRENTUSAGE", "03H=Available", "04H=In use",
                       "05H=Unavailable by design",
                       "*DMISLOTLEN", "03H=Short", "04H=Long",
                       "*DMIONBOARDDEVTYPES", "03H=Video", "05H=Ethernet", "07H=Sound",
                       "*MEMARRLOC", "03H=System board",
                       "*MEMARRUSE", "03H=System memory",
                       "*CACHEECC", "03H=None", "05H=Single-bit ECC",
                       "*MEMDEVFF", "09H=DIMM",
                       "*MEMDEVTYPE", "12H=DDR", "1AH=DDR4"}));
    // clang-format on
  }
  void TearDown() override { EXPECT_TRUE(Stop()); }

  void Print(const Dump& dump) {
    DumpState state;
    for (const Bytes& structure : dump) state.Print(structure, capacity_);
    state.Finish();
  }

  std::string Run(Sink sink, const Dump& dump) {
    // The slot counter runs over the whole process; each run here is a
    // process of its own.
    ProcessKeyCounters().slots = 0;
    return DecoderHarness::Run(sink, [&] { Print(dump); });
  }
  std::string Text(const Dump& dump) { return Run(Sink::kText, dump); }
  std::string Html(const Dump& dump) { return Run(Sink::kHtml, dump); }
  std::string Ini(const Dump& dump) { return Run(Sink::kIni, dump); }

  // Size of the structure buffer; the bytes after the structure are garbage.
  size_t capacity_ = 0;
};

// OEM strings (11) or configuration options (12).
inline Bytes Counted(uint8_t type, uint8_t count, const std::vector<std::string>& strings) {
  return Structure(type, 0x0B00, {count}, strings);
}

// Physical memory array; length 0x17 adds the extended maximum capacity.
inline Bytes MemoryArray(uint32_t capacity, uint16_t errorHandle, uint16_t devices,
                         int length = 0x0F, uint64_t extendedCapacity = 0) {
  Bytes f = {3, 3, 5};
  PutU32(f, capacity);
  PutU16(f, errorHandle);
  PutU16(f, devices);
  if (length >= 0x17) {
    PutU32(f, static_cast<uint32_t>(extendedCapacity));
    PutU32(f, static_cast<uint32_t>(extendedCapacity >> 32));
  }
  f.resize(static_cast<size_t>(length) - 4, 0);
  return Structure(16, 0x1000, f);
}

struct DeviceFields {
  uint16_t handle = 0x1100;
  uint16_t errorHandle = 0xFFFE;
  uint16_t totalWidth = 72;
  uint16_t dataWidth = 64;
  uint16_t size = 0x0200;
  uint8_t formFactor = 9;
  uint8_t deviceSet = 0;
  uint8_t memoryType = 0x12;
  uint16_t typeDetail = 0x0080;
  int length = 0x15;  // SMBIOS 2.1
  uint32_t extendedSize = 0;
  std::vector<std::string> strings = {"DIMM0", "BANK0"};
};

inline Bytes MemoryDevice(const DeviceFields& d) {
  Bytes f;
  PutU16(f, 0x1000);  // array handle (not shown)
  PutU16(f, d.errorHandle);
  PutU16(f, d.totalWidth);
  PutU16(f, d.dataWidth);
  PutU16(f, d.size);
  f.push_back(d.formFactor);
  f.push_back(d.deviceSet);
  f.push_back(1);  // device locator
  f.push_back(2);  // bank locator
  f.push_back(d.memoryType);
  PutU16(f, d.typeDetail);
  // 2.3 and later: speed, manufacturer, serial, asset tag, part number,
  // attributes; 2.7: extended size.
  PutU16(f, 400);
  for (int i = 0; i < 4; ++i) f.push_back(0);
  f.push_back(1);
  PutU32(f, d.extendedSize);
  f.resize(static_cast<size_t>(d.length) - 4, 0);
  return Structure(17, d.handle, f, d.strings, d.length);
}

}  // namespace slots_to_memory
