#include "table_file.h"

#include <gtest/gtest.h>

#include "test_tables.h"

namespace {

FirmwareTables g_firmware;
FirmwareTables Fake() { return g_firmware; }

// The machine's table as sysfs gives it: entry point (3 structures
// announced) and table.
FirmwareTables Sysfs(const TestBytes& table) {
  FirmwareTables f;
  f.state = FirmwareTables::State::kRead;
  f.origin = "/sys/firmware/dmi/tables/DMI";
  f.entryPoint = EntryPoint2(static_cast<uint16_t>(table.size()), 0xF0000);
  f.table = table;
  return f;
}

TEST(TableFile, FirmwareOutcomesSayWhatIsWrong) {
  struct Case {
    FirmwareTables::State state;
    TableSource::Failure failure;
    const char* says;
  };
  const Case cases[] = {
      // No tables at all, and tables that exist but need rights: never "no
      // SMBIOS" for the second.
      {FirmwareTables::State::kAbsent, TableSource::Failure::kAbsent, "shows no SMBIOS"},
      {FirmwareTables::State::kUnreadable, TableSource::Failure::kUnreadable,
       "exists but cannot be read"},
  };
  for (const Case& c : cases) {
    g_firmware = FirmwareTables();
    g_firmware.state = c.state;
    g_firmware.origin = "here";
    TableSource source;
    LoadFirmwareTable(Fake, &source);
    EXPECT_EQ(source.failure, c.failure);
    EXPECT_NE(source.error.find(c.says), std::string::npos) << source.error;
  }
}

TEST(TableFile, ModelKeepsStructuresBeforeABreakAndCountsThem) {
  const TestBytes two = Concat({Structure(1, {0, 0, 0, 0}), Structure(2, {0, 0, 0, 0, 0})});
  // Whole: no warning (3 announced, 2 held, end of table missing: counted).
  g_firmware = Sysfs(two);
  TableSource source;
  LoadFirmwareTable(Fake, &source);
  ASSERT_EQ(source.failure, TableSource::Failure::kNone) << source.error;
  Model model = BuildModel(source);
  EXPECT_EQ(model.structures.size(), 2u);
  EXPECT_FALSE(model.partial);
  ASSERT_EQ(model.warnings.size(), 1u);
  EXPECT_NE(model.warnings[0].find("announces 3"), std::string::npos);
  EXPECT_EQ(model.sourceKind, "sysfs");
  // A third structure stating length 2: the two before it stay.
  g_firmware = Sysfs(Concat({two, {0x04, 0x02, 0x00, 0x00, 0x00, 0x00}}));
  TableSource broken;
  LoadFirmwareTable(Fake, &broken);
  model = BuildModel(broken);
  EXPECT_TRUE(model.partial);
  EXPECT_EQ(model.structures.size(), 2u);
  EXPECT_EQ(model.structures[1].type, 2);
}

}  // namespace
