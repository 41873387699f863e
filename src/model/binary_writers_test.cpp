// Byte layouts of the three binary files.
#include "model/binary_writers.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "model/coding.h"
#include "model/compile_state.h"
#include "platform/failure.h"

namespace scenario {
namespace {

TEST(SimFile, AllEmptyTableIs2958Bytes) {
  ScenarioRows rows{};
  EXPECT_EQ(serialise_sim(rows).size(), 2958u);
}

TEST(SimFile, NameShiftsTheFieldsAfterIt) {
  ScenarioRows rows{};
  rows[0].Name = "abc";
  rows[0].Word1 = 0x1234;
  rows[1].Word1 = 0x1234;
  std::string b = serialise_sim(rows);
  EXPECT_EQ(b.size(), 2958u + 3);
  EXPECT_EQ(DecodeFixed16(&b[14]), 3);
  EXPECT_EQ(b.substr(16, 3), "abc");
  EXPECT_EQ(DecodeFixed16(&b[19]), 0x1234);       // Word1 three bytes later than offset 16
  EXPECT_EQ(DecodeFixed16(&b[37 + 16]), 0x1234);  // next row starts after 37 bytes
}

TEST(SimFile, BuiltInRow84IsExactly34Bytes) {
  ScenarioRows rows{};
  rows[84].Start = 120;
  rows[84].End = 96000;
  rows[84].Position = 3;
  std::string b = serialise_sim(rows);
  std::string row = b.substr(84 * 34, 34);
  const unsigned char want[16] = {0x00, 0x78, 0, 0, 0, 0x00, 0x77, 0x01, 0x00, 0x03, 0, 0, 0, 0x00, 0x00, 0x00};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(static_cast<unsigned char>(row[i]), want[i]) << "byte " << i;
  for (int i = 16; i < 34; ++i) EXPECT_EQ(row[i], 0) << "byte " << i;
}

TEST(SimFile, NegativeAndWideValuesAreLittleEndianTwosComplement) {
  ScenarioRows rows{};
  rows[0].Start = -250;
  rows[0].Time = 82875;
  std::string b = serialise_sim(rows);
  EXPECT_EQ(static_cast<std::int32_t>(DecodeFixed32(&b[1])), -250);
  EXPECT_EQ(DecodeFixed32(&b[30]), 82875u);
}

TEST(SimFile, OverlongNameIsAFailureNotATruncatedFile) {
  ScenarioRows rows{};
  rows[80].Name.assign(70000, 'x');
  EXPECT_THROW(serialise_sim(rows), Failure);
}

// A name's length is 16 bits: 65,535 bytes are written with their length
// bytes ff ff; one byte more is a failure, never a length wrapped to 0.
TEST(SimFile, NameLengthIsSixteenBitsAndNeverWraps) {
  ScenarioRows rows{};
  rows[80].Name.assign(65535, 'x');
  rows[80].Word1 = 0x1234;
  const std::string b = serialise_sim(rows);
  ASSERT_EQ(b.size(), 2958u + 65535);
  const std::size_t row = 80 * 34;
  EXPECT_EQ(static_cast<unsigned char>(b[row + 14]), 0xff);
  EXPECT_EQ(static_cast<unsigned char>(b[row + 15]), 0xff);
  EXPECT_EQ(b.substr(row + 16, 65535), rows[80].Name);
  EXPECT_EQ(DecodeFixed16(&b[row + 16 + 65535]), 0x1234);

  rows[80].Name.push_back('x');
  EXPECT_THROW(serialise_sim(rows), Failure);
}

struct CellCountCase {
  std::int32_t route_length;
  std::int32_t cell_count;
};
void PrintTo(const CellCountCase& c, std::ostream* os) { *os << "Route" << c.route_length; }

class CellCountTest : public ::testing::TestWithParam<CellCountCase> {};

TEST_P(CellCountTest, RoundsHalfToEven) {
  CompileState s;
  crea_celle(s, GetParam().route_length);
  EXPECT_EQ(s.scenario.CellCount, GetParam().cell_count);
  EXPECT_EQ(s.scenario.TrainCells.size(), static_cast<std::size_t>(GetParam().cell_count) + 1);
}

INSTANTIATE_TEST_SUITE_P(Routes, CellCountTest,
                         ::testing::Values(CellCountCase{96000, 2060}, CellCountCase{96025, 2060},
                                           CellCountCase{96075, 2062}, CellCountCase{0, 140}),
                         [](const ::testing::TestParamInfo<CellCountCase>& i) {
                           return "Length" + std::to_string(i.param.route_length);
                         });

TEST(DatFile, FifteenBytesPerCellWithStampOffsets) {
  CompileState s;
  crea_celle(s, 96000);
  cella(s, 1).Word1 = 5121;
  cella(s, 1).Word2 = -2;
  cella(s, 2).Byte6 = 100;
  std::string b = serialise_dat(s.scenario.TrainCells);
  EXPECT_EQ(b.size(), 30915u);
  EXPECT_EQ(DecodeFixed16(&b[16]), 5121);
  EXPECT_EQ(DecodeFixed16(&b[18]), 0xfffe);
  EXPECT_EQ(static_cast<unsigned char>(b[30 + 14]), 100);
}

TEST(CellAccess, OutsideTheArrayIsAFailure) {
  CompileState s;
  EXPECT_THROW(cella(s, 0), Failure);  // never created
  crea_celle(s, 96000);
  EXPECT_NO_THROW(cella(s, 2060));
  EXPECT_THROW(cella(s, 2061), Failure);
  EXPECT_THROW(cella(s, -1), Failure);
}

TEST(LineFile, BuiltInShapeHasItsSizeAndOffsets) {
  const std::int32_t M = 103000;
  LinePlan plan;
  plan.create(M);
  plan.set_int(0, 0, 0);
  plan.set_int(0, 1, 0);
  plan.set_int(1, 0, 0);
  plan.set_int(1, 1, 1);
  for (std::int32_t m = 2; m <= M - 2; ++m) {
    plan.set_real(m, 0, -0.5 * m);
    plan.set_real(m, 1, 1.0 * m);
  }
  std::string b = serialise_linea(plan);
  ASSERT_EQ(b.size(), 2059964u);
  // Walk to X of point 500 (value 500) and Y of point 500 (value M + 1 + 500).
  auto offset_of_value = [&](std::size_t k) {
    std::size_t off = 0;
    for (std::size_t v = 0; v < k; ++v) {
      std::uint16_t tag = DecodeFixed16(&b[off]);
      off += tag == 5 ? 10 : tag == 2 ? 4 : 2;
    }
    return off;
  };
  std::size_t x = offset_of_value(500);
  EXPECT_EQ(DecodeFixed16(&b[x]), 5);
  EXPECT_EQ(DecodeDouble(&b[x + 2]), -250.0);
  std::size_t y = offset_of_value(M + 1 + 500);
  EXPECT_EQ(DecodeFixed16(&b[y]), 5);
  EXPECT_EQ(DecodeDouble(&b[y + 2]), 500.0);
  std::size_t y1 = offset_of_value(M + 1 + 1);
  EXPECT_EQ(DecodeFixed16(&b[y1]), 2);
  EXPECT_EQ(DecodeFixed16(&b[y1 + 2]), 1);
  EXPECT_EQ(DecodeFixed16(&b[b.size() - 2]), 0);  // the last point is empty
}

// A plan of every tag in both columns: its bytes, and what a change to them is.
struct LineaEdit {
  const char* name;
  std::string (*edit)(std::string);
  bool matches;
};

LinePlan plan_of_every_tag() {
  LinePlan plan;
  plan.create(4);
  plan.set_int(0, 0, -2);
  plan.set_real(1, 0, 12.5);
  plan.set_real(2, 1, 0.0);
  plan.set_int(3, 1, 7);
  return plan;  // points 4 (both) and the rest of each column are empty
}

class LineaMatches : public ::testing::TestWithParam<LineaEdit> {};

TEST_P(LineaMatches, OnlyTheExactBytesMatch) {
  const LinePlan plan = plan_of_every_tag();
  EXPECT_EQ(linea_matches(plan, GetParam().edit(serialise_linea(plan))), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    LineFile, LineaMatches,
    ::testing::Values(
        LineaEdit{"Unchanged", [](std::string b) { return b; }, true},
        LineaEdit{"FirstTagByte", [](std::string b) { return b.replace(0, 1, "\x05"); }, false},
        LineaEdit{"Int16Payload", [](std::string b) { return b.replace(2, 1, "\xff"); }, false},
        LineaEdit{"LastByte", [](std::string b) { return b.replace(b.size() - 1, 1, "\x01"); }, false},
        // The real 0.0 of Y at point 2 written as -0.0: equal values, other bytes.
        LineaEdit{"NegativeZero",
                  [](std::string b) {
                    const std::size_t y2 = 4 + 10 + 2 + 2 + 2 + 2 + 2;  // X: int, real, three empty; Y: two empty
                    return b.replace(y2 + 9, 1, "\x80");
                  },
                  false},
        LineaEdit{"OneByteShort", [](std::string b) { return b.substr(0, b.size() - 1); }, false},
        LineaEdit{"OneByteMore", [](std::string b) { return b + '\0'; }, false},
        LineaEdit{"Empty", [](std::string) { return std::string(); }, false}),
    [](const ::testing::TestParamInfo<LineaEdit>& info) { return std::string(info.param.name); });

TEST(LineFile, NoPlanMatchesOnlyNoBytes) {
  EXPECT_TRUE(linea_matches(LinePlan{}, ""));
  EXPECT_FALSE(linea_matches(LinePlan{}, std::string(2, '\0')));
}

// Bytes that end inside a value are never read past their end: held in a
// buffer of exactly their size, so that the sanitizers' build sees a read beyond it.
TEST(LineFile, BytesEndingInsideAValueAreNotReadPast) {
  const std::string whole = serialise_linea(plan_of_every_tag());
  const std::vector<char> cut(whole.begin(), whole.end() - 1);
  EXPECT_FALSE(linea_matches(plan_of_every_tag(), std::string_view(cut.data(), cut.size())));
}

TEST(RowAccess, PastTheLastRowIsAFailure) {
  CompileState s;
  EXPECT_EQ(&riga(s, 0), &s.scenario.ScenarioTable[0]);
  EXPECT_EQ(&riga(s, kScenarioRows - 1), &s.scenario.ScenarioTable[kScenarioRows - 1]);
  EXPECT_THROW(riga(s, kScenarioRows), Failure);
  EXPECT_THROW(riga(s, -1), Failure);
}

}  // namespace
}  // namespace scenario
