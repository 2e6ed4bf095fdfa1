// Decoding of memory error, mapped address and pointing device structures in
// the three sinks: window text, HTML table entries and properties; and a
// whole notebook table from the memory error to the power controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode_late_test.h"
#include "dump_builder.h"
#include "platform.h"

namespace {

using namespace decode_late;

Bytes MemoryError(uint8_t type, uint8_t granularity, uint8_t operation, uint32_t syndrome,
                  uint32_t arrayAddress, uint32_t deviceAddress, uint32_t resolution) {
  Bytes f = {type, granularity, operation};
  PutU32(f, syndrome);
  PutU32(f, arrayAddress);
  PutU32(f, deviceAddress);
  PutU32(f, resolution);
  return Structure(18, 0x0030, f);
}

// Extended addresses are appended when given (SMBIOS 2.7 layout).
struct Extended {
  bool present = false;
  uint64_t start = 0, end = 0;
};

void PutU64(Bytes& f, uint64_t v) {
  PutU32(f, static_cast<uint32_t>(v));
  PutU32(f, static_cast<uint32_t>(v >> 32));
}

Bytes ArrayMapped(uint16_t handle, uint32_t start, uint32_t end, uint16_t arrayHandle,
                  uint8_t width, Extended ext = {}) {
  Bytes f;
  PutU32(f, start);
  PutU32(f, end);
  PutU16(f, arrayHandle);
  f.push_back(width);
  if (ext.present) {
    PutU64(f, ext.start);
    PutU64(f, ext.end);
  }
  return Structure(19, handle, f);
}

Bytes DeviceMapped(uint16_t handle, uint32_t start, uint32_t end, uint16_t deviceHandle,
                   uint8_t row, uint8_t position, uint8_t depth, Extended ext = {}) {
  Bytes f;
  PutU32(f, start);
  PutU32(f, end);
  PutU16(f, deviceHandle);
  PutU16(f, 0x0031);
  f.push_back(row);
  f.push_back(position);
  f.push_back(depth);
  if (ext.present) {
    PutU64(f, ext.start);
    PutU64(f, ext.end);
  }
  return Structure(20, handle, f);
}

Bytes Pointing(uint8_t type, uint8_t interface, uint8_t buttons) {
  return Structure(21, 0x0034, {type, interface, buttons});
}

// A notebook's table at SMBIOS 2.3, types 18 to 25 in dump order.
std::vector<Bytes> Notebook() {
  return {MemoryError(3, 2, 2, 0, 0x80000000, 0x80000000, 0x80000000),
          ArrayMapped(0x0031, 0, 0x7FFFF, 0x1000, 1),
          DeviceMapped(0x0032, 0, 0x3FFFF, 0x1100, 0xFF, 0, 2),
          DeviceMapped(0x0033, 0x40000, 0x7FFFF, 0x1101, 1, 2, 0xFF),
          Pointing(7, 4, 2),
          Battery({}),
          Reset(0x25, 0xFFFF, 3, 1, 5),
          Security(0xE4),
          Power(0x12, 0x31, 0x23, 0x59, 0x59)};
}

TEST_F(DecodeLate, NotebookInWindowText) {
  if (NoEditControl()) return;
  EXPECT_EQ(Text(Notebook()), ExpectedReport("notebook.txt"));
}

TEST_F(DecodeLate, NotebookInHtml) {
  // The report library cuts each row at its tab into a caption cell and a
  // value cell, dropping the filler around them.
  EXPECT_EQ(Html(Notebook()), ExpectedReport("notebook.htm"));
}

TEST_F(DecodeLate, NotebookInProperties) {
  EXPECT_EQ(Ini(Notebook()), ExpectedReport("notebook.ini"));
  EXPECT_EQ(arrayMapped_, 1);
  EXPECT_EQ(deviceMapped_, 2);
}

TEST_F(DecodeLate, OtherLanguagesWriteNothing) {
  for (int language : {4, 7, 15}) {
    InitLanguagesEx(PlatProgramModule(), language);
    EXPECT_EQ(Ini(Notebook()), "") << language;
    EXPECT_EQ(Html(Notebook()), "") << language;
    if (!NoEditControl()) {
      EXPECT_EQ(Text(Notebook()), "") << language;
    }
    // Nothing reported, nothing counted.
    EXPECT_EQ(arrayMapped_, 0) << language;
    EXPECT_EQ(deviceMapped_, 0) << language;
  }
}

TEST_F(DecodeLate, MemoryErrorUnknownMarkers) {
  struct Case {
    uint32_t syndrome, array, device, resolution;
    const char *syndromeText, *arrayText, *deviceText, *resolutionText;
  } cases[] = {
      // 0 is the syndrome's unknown marker, but an ordinary address.
      {0, 0, 0, 0, "Unknown", "00000000H", "00000000H", "00000000H"},
      // 0x80000000 is the address marker, but an ordinary syndrome.
      {0x80000000, 0x80000000, 0x80000000, 0x80000000, "80000000", "Unknown", "Unknown", "Unknown"},
      {0x1A2B, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000001, "00001A2B", "FFFFFFFFH", "7FFFFFFFH",
       "80000001H"},
  };
  for (const Case& c : cases) {
    Ini({MemoryError(6, 3, 3, c.syndrome, c.array, c.device, c.resolution)});
    EXPECT_EQ(Property("szMemErrVendSynd"), c.syndromeText);
    EXPECT_EQ(Property("szMemErrArrayErrAddr"), c.arrayText);
    EXPECT_EQ(Property("szMemErrDevErrAddr"), c.deviceText);
    EXPECT_EQ(Property("szMemErrResolution"), c.resolutionText);
  }
  // Codes the table does not name leave their rows out.
  Ini({MemoryError(0x20, 0x20, 0x20, 0, 0, 0, 0)});
  EXPECT_EQ(Property("szMemErrType"), "Undefined");  // the section's default
  EXPECT_EQ(Property("szMemErrGran"), "<none>");
  EXPECT_EQ(Property("szMemErrOpe"), "<none>");
  EXPECT_EQ(Property("szMemErrHandle"), "0030H");
}

TEST_F(DecodeLate, MappedAddressesAreByteAddresses) {
  const uint32_t kAllOnes = 0xFFFFFFFF;
  struct Case {
    const char* name;
    uint32_t start, end;
    Extended ext;
    const char *startText, *endText;
    // clang-format off
  } cases[] = {
      {"256 kB", 0x100, 0x13FF, {}, "00040000H", "004FFC00H"},
      {"ending at 4 GB keeps the bit above 32", 0x3FFFFF, 0x400000, {},
       "FFFFFC00H", "100000000H"},
      {"largest kilobyte address", 0xFFFFFFFE, 0xFFFFFFFE, {}, "3FFFFFFF800H", "3FFFFFFF800H"},
      {"all ones without extended fields is a kilobyte address", kAllOnes, kAllOnes, {},
       "3FFFFFFFC00H", "3FFFFFFFC00H"},
      {"extended fields replace all ones", kAllOnes, kAllOnes,
       {true, 0x40000000000ull, 0x7FFFFFFFFFFull}, "40000000000H", "7FFFFFFFFFFH"},
      {"extended fields ignored unless marked", 0x100, 0x13FF,
       {true, 0x40000000000ull, 0x7FFFFFFFFFFull}, "00040000H", "004FFC00H"},
      {"largest extended address", kAllOnes, kAllOnes, {true, 0, ~0ull},
       "00000000H", "FFFFFFFFFFFFFFFFH"},
  };
  // clang-format on
  for (const Case& c : cases) {
    Ini({ArrayMapped(0x31, c.start, c.end, 0x1000, 2, c.ext),
         DeviceMapped(0x32, c.start, c.end, 0x1100, 1, 1, 1, c.ext)});
    EXPECT_EQ(Property("szMemArrMapAddr0StartAddr"), c.startText) << c.name;
    EXPECT_EQ(Property("szMemArrMapAddr0EndAddr"), c.endText) << c.name;
    EXPECT_EQ(Property("szMemDevMapAddr0StartAddr"), c.startText) << c.name;
    EXPECT_EQ(Property("szMemDevMapAddr0EndAddr"), c.endText) << c.name;
  }
}

TEST_F(DecodeLate, ExtendedAddressesNeedTheWholeField) {
  // One byte short of the extended ending address: the marked starting
  // address is shown as a kilobyte address.
  const uint32_t kAllOnes = 0xFFFFFFFF;
  Bytes array;
  PutU32(array, kAllOnes);
  PutU32(array, kAllOnes);
  PutU16(array, 0x1000);
  array.push_back(1);
  PutU64(array, 0x40000000000ull);
  PutU64(array, 0x7FFFFFFFFFFull);
  Bytes device;
  PutU32(device, kAllOnes);
  PutU32(device, kAllOnes);
  PutU16(device, 0x1100);
  PutU16(device, 0x0031);
  for (int i = 0; i < 3; ++i) device.push_back(1);
  PutU64(device, 0x40000000000ull);
  PutU64(device, 0x7FFFFFFFFFFull);
  for (size_t trim : {1u, 0u}) {
    Ini({Short(19, array, 0x1F - trim), Short(20, device, 0x23 - trim)});
    const char* expected = trim ? "3FFFFFFFC00H" : "40000000000H";
    EXPECT_EQ(Property("szMemArrMapAddr0StartAddr"), expected) << trim;
    EXPECT_EQ(Property("szMemDevMapAddr0StartAddr"), expected) << trim;
  }
}

TEST_F(DecodeLate, MappedAddressCountersNumberTheKeys) {
  // The two counters are independent and run over the whole dump, whatever
  // lies between the structures.
  Ini({DeviceMapped(0x40, 0, 1, 0xA0, 1, 1, 1), ArrayMapped(0x41, 0, 1, 0xB0, 1), Security(0),
       DeviceMapped(0x42, 0, 1, 0xA1, 1, 1, 1), ArrayMapped(0x43, 0, 1, 0xB1, 1),
       DeviceMapped(0x44, 0, 1, 0xA2, 1, 1, 1)});
  EXPECT_EQ(Property("szMemDevMapAddr0Hand"), "0040H");
  EXPECT_EQ(Property("szMemDevMapAddr1Hand"), "0042H");
  EXPECT_EQ(Property("szMemDevMapAddr2Hand"), "0044H");
  EXPECT_EQ(Property("szMemDevMapAddr2DevHand"), "00A2H");
  EXPECT_EQ(Property("szMemArrMapAddr0Handle"), "0041H");
  EXPECT_EQ(Property("szMemArrMapAddr1Handle"), "0043H");
  EXPECT_EQ(Property("szMemArrMapAddr1MemArrHand"), "00B1H");
  EXPECT_EQ(Property("szMemArrMapAddr2Handle"), "<none>");
  EXPECT_EQ(arrayMapped_, 2);
  EXPECT_EQ(deviceMapped_, 3);
}

TEST_F(DecodeLate, PartitionAndInterleave) {
  struct Case {
    uint8_t value;
    const char *row, *position, *depth;
  } cases[] = {
      {0, "0", "Non-interleaved", "Non-interleaved"},
      {2, "2", "2", "2"},
      {254, "254", "254", "254"},
      {0xFF, "Unknown", "Unknown", "Unknown"},
  };
  for (const Case& c : cases) {
    Ini({DeviceMapped(0x32, 0, 1, 0x1100, c.value, c.value, c.value)});
    EXPECT_EQ(Property("szMemDevMapAddr0PartRowPos"), c.row) << int(c.value);
    EXPECT_EQ(Property("szMemDevMapAddr0InterlPos"), c.position) << int(c.value);
    EXPECT_EQ(Property("szMemDevMapAddr0InterlDep"), c.depth) << int(c.value);
  }
  Ini({ArrayMapped(0x31, 0, 1, 0x1000, 255)});
  EXPECT_EQ(Property("szMemArrMapAddr0PartWid"), "255");
}

TEST_F(DecodeLate, FieldsBeyondTheFormattedLengthAreLeftOut) {
  if (NoEditControl()) return;
  // Every structure here is cut; what follows the formatted area in the
  // buffer are the bytes of the longer structure decoded before it.
  const Bytes memError = MemoryError(3, 3, 3, 1, 2, 3, 4);
  const Bytes memErrorFields(memError.begin() + 4, memError.begin() + 23);
  EXPECT_EQ(Text({MemoryError(3, 3, 3, 1, 2, 3, 4), Short(18, memErrorFields, 11)})
                .substr(Text({MemoryError(3, 3, 3, 1, 2, 3, 4)}).size()),
            "\r\n\r\n Memory Error \r\n\r\n"
            "Handle\t: 0040H\r\n"
            "Error type\t: OK\r\n"
            "Error granularity\t: Device level\r\n"
            "Error operation\t: Read\r\n"
            "Vendor syndrome\t: 00000001\r\n");
  EXPECT_EQ(Text({Power(1, 1, 1, 1, 1), Short(25, {0x12, 0x31, 0x23, 0x59}, 8)})
                .substr(Text({Power(1, 1, 1, 1, 1)}).size()),
            "\r\n\r\n System Power Controls \r\n\r\n");
  EXPECT_EQ(Text({Reset(0x25, 1, 2, 3, 4), Short(23, {0x01, 2, 0, 3, 0}, 9)})
                .substr(Text({Reset(0x25, 1, 2, 3, 4)}).size()),
            "\r\n\r\n Automatic System Reset Information \r\n\r\n"
            "Automatic System Reset\t: Enabled\r\n"
            "Boot Option\t: reserved\r\n"
            "Boot Option on Limit\t: reserved\r\n"
            "Watchdog timer\t: not present\r\n"
            "Reset Count\t: 2\r\n"
            "Reset Limit\t: 3\r\n");
  EXPECT_EQ(Text({Short(24, {0xE4}, 4), Short(21, {7, 4, 2}, 5)}),
            "\r\n\r\n Hardware Security \r\n\r\n"
            "\r\n\r\n Built-in Pointing Device \r\n\r\n"
            "Type\t: Touchpad\r\n");
  // A mapped address cut after its ending address still counts.
  Bytes array;
  PutU32(array, 1);
  PutU32(array, 2);
  EXPECT_EQ(Text({Short(19, array, 12)}),
            "\r\n\r\n Memory Array Mapped Address \r\n\r\n"
            "Handle\t: 0040H\r\n"
            "Starting address\t: 00000400H\r\n"
            "Ending address\t: 00000800H\r\n");
  EXPECT_EQ(arrayMapped_, 1);
}

}  // namespace
