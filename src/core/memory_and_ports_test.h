// Shared by the decoder tests of types 5 and 6 and of types 7 and 8: the
// fixture, whose DMI.DAT names the codes of both groups (their whole-machine
// run crosses from one to the other), and the builders both use.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_harness.h"
#include "dmi_rows.h"
#include "dump_builder.h"
#include "sink_state.h"

namespace memory_and_ports {

// Runs structures through the decoder in one sink, as the dump reader does
// (pending tables kept open between calls and closed at the end), and
// returns what the sink got. Each test runs in its own directory, where
// DMI.DAT is read from.
class MemoryAndPorts : public ::testing::Test, public DecoderHarness {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Start({"*DMIMEMCTRLEDM", "03H=None", "05H=32-bit ECC", "*DMIINTERLEAVESUP",
                       "03H=One-way interleave", "04H=Two-way interleave", "*DMICONNTYPES",
                       "08H=DB-9 male", "0FH=PS/2", "12H=Access Bus (USB)", "FFH=Other",
                       "*DMIPORTTYPES", "09H=Serial Port 16550A Compatible", "0DH=Keyboard Port",
                       "0EH=Mouse Port", "10H=USB"}));
  }
  void TearDown() override { EXPECT_TRUE(Stop()); }

  void PrintAll(const std::vector<Bytes>& structures) {
    DumpState dump;
    // The bytes after each structure are left-overs of earlier ones.
    for (const Bytes& structure : structures) dump.Print(structure, structure.size() + 64);
    dump.Finish();
  }

  // Either a list of structures for the frame or, with a whole dump, the
  // dump reader's walk over it.
  std::string Run(Sink sink, const std::vector<Bytes>& structures, const Bytes* dump = nullptr) {
    ProcessKeyCounters() = DmiKeyCounters();
    return DecoderHarness::Run(sink, [&] {
      if (!dump) {
        PrintAll(structures);
        return;
      }
      const std::string path = dir.File("dump.bin");
      WriteBytes(path, *dump);
      ASSERT_TRUE(ReadDumpFile(path));
    });
  }
  std::string Text(const std::vector<Bytes>& s) { return Run(Sink::kText, s); }
  std::string Html(const std::vector<Bytes>& s) { return Run(Sink::kHtml, s); }
  std::string Ini(const std::vector<Bytes>& s) { return Run(Sink::kIni, s); }
};

inline Bytes Cache(uint16_t config, uint16_t installed, uint16_t supportedSram,
                   uint16_t currentSram,
                   const std::vector<std::string>& strings = {"Internal Cache"},
                   int length = 0x13) {
  Bytes f = {1};
  PutU16(f, config);
  PutU16(f, installed);  // maximum size (not shown)
  PutU16(f, installed);
  PutU16(f, supportedSram);
  PutU16(f, currentSram);
  for (uint8_t b : {0, 5, 3, 5}) f.push_back(b);  // speed, ECC, cache type, associativity
  f.resize(static_cast<size_t>(length) - 4, 0);
  return Structure(7, 7, f, strings, length);
}

inline Bytes Port(uint8_t internalRef, uint8_t externalRef, uint8_t externalType, uint8_t portType,
                  const std::vector<std::string>& strings) {
  return Structure(8, 8, {internalRef, 0xFF, externalRef, externalType, portType}, strings);
}

}  // namespace memory_and_ports
