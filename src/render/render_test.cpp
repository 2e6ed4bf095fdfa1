#include "render.h"

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "text_out.h"

namespace {

// A generic structure whose strings hold what firmware may hold.
Model HostileModel() {
  Model model;
  model.sourceKind = "bare-table";
  model.sourcePath = "dump\xff.bin";
  DecodedStructure s;
  s.type = 0x85;
  s.length = 4;
  s.formatted = {0x85, 4, 0, 0};
  s.strings = {"quote \" back \\ tab \t", "bad \xC0\x80 utf-8", "bell \x07 C1 \xC2\x85 end",
               "plain"};
  model.structures.push_back(s);
  model.warnings.push_back("warning \x01");
  return model;
}

TEST(Render, JsonStaysValidWhateverTheStringsHold) {
  const nlohmann::json doc = nlohmann::json::parse(RenderJson(HostileModel(), RenderOptions{}));
  const auto& strings = doc["structures"][0]["strings"];
  EXPECT_EQ(strings[0], "quote \" back \\ tab \t");
  EXPECT_EQ(strings[1], "bad \xEF\xBF\xBD\xEF\xBF\xBD utf-8");
  EXPECT_EQ(strings[3], "plain");
  EXPECT_EQ(doc["source"]["path"], "dump\xEF\xBF\xBD.bin");
  EXPECT_EQ(doc["structures"][0]["raw_bytes"], "85040000");
  EXPECT_EQ(doc["structures"][0]["name"], "OEM type");
}

TEST(Render, TextMakesFirmwareStringsSafeForATerminal) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"plain", "plain"},
      {"esc \x1b[2J", "esc  [2J"},  // no terminal control sequence
      {"C1 \xC2\x9B"
       "31m",
       "C1  31m"},  // nor its one-character form
      {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"caf\xC3\xA9", "caf\xC3\xA9"},
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalSafe(c.in), c.out) << c.in;
  const std::string text = RenderText(HostileModel(), RenderOptions{});
  EXPECT_NE(text.find("Handle 0x0000, type 133: OEM type (4 bytes)"), std::string::npos);
  EXPECT_EQ(text.find('\x07'), std::string::npos);
}

// Labels lose their unit suffix (the longest one) and keep the standard's
// capitals; numbers show their unit, decimals and sign; a handle's state
// is named.
TEST(Render, TextLabelsUnitsAndStates) {
  const auto number = [](const char* name, FieldValue::Kind kind, uint64_t n, Unit unit) {
    Field field;
    field.name = name;
    field.value.kind = kind;
    field.value.number = n;
    field.value.unit = unit;
    return field;
  };
  using K = FieldValue::Kind;
  Model model;
  DecodedStructure s;
  s.type = 28;
  s.decoded = true;
  s.fields = {number("maximum_value_tenths_celsius", K::kSigned, ~0ull - 99, Unit::kTenthsCelsius),
              number("resolution_millicelsius", K::kNumber, 5, Unit::kMilliCelsius),
              number("resolution_tenths_milliamps", K::kNumber, 25, Unit::kTenthsMilliamps),
              number("sbds_ipmi_i2c_io_id", K::kNumber, 7, Unit::kNone),
              number("l3_cache_handle", K::kHandle, 0xFFFF, Unit::kNone)};
  s.fields.back().value.name = "Not provided";
  model.structures.push_back(s);
  std::string text;  // padding aside
  for (char c : RenderText(model, RenderOptions{}))
    if (c != ' ' || text.empty() || text.back() != ' ') text += c;
  for (const char* line : {" Maximum value: -10.0 degrees C\n", " Resolution: 0.005 degrees C\n",
                           " Resolution: 2.5 mA\n", " SBDS IPMI I2C I/O ID: 7\n",
                           " L3 cache handle: 0xFFFF (Not provided)\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

// With a sink, the buffer goes out whenever it fills: pieces smaller and
// larger than its room arrive whole and in order; without one, Take has it.
TEST(Render, TextOutSendsEveryPieceInOrder) {
  std::string expected;
  FILE* sink = tmpfile();
  ASSERT_NE(sink, nullptr);
  TextOut out(sink, 8);
  TextOut kept(nullptr, 8);
  for (size_t length : {3u, 5u, 1u, 17u, 8u, 0u, 2u}) {
    const std::string piece(length, static_cast<char>('a' + length));
    out += piece;
    kept += piece;
    out.append(length, '-');
    kept.append(length, '-');
    // Pieces filled in place and numbers written in place, across the
    // room's end too.
    memcpy(out.Extend(length), piece.data(), length);
    memcpy(kept.Extend(length), piece.data(), length);
    out.AppendNumber(-12345678901234567ll * static_cast<long long>(length));
    kept.AppendNumber(-12345678901234567ll * static_cast<long long>(length));
    expected += piece + std::string(length, '-') + piece +
                std::to_string(-12345678901234567ll * static_cast<long long>(length));
  }
  ASSERT_TRUE(out.Finish());
  std::string written(expected.size() + 1, '\0');
  rewind(sink);
  written.resize(fread(&written[0], 1, written.size(), sink));
  fclose(sink);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(kept.Take(), expected);
}

}  // namespace
