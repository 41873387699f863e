// Decoders of the three binary files: each reads back what its encoder wrote, and names the byte where a file breaks.
#include "model/binary_readers.h"

#include <gtest/gtest.h>

#include "model/binary_writers.h"
#include "platform/failure.h"

namespace scenario {
namespace {

TEST(BinaryReaders, EachFileReadsBackWhatItsEncoderWrote) {
  ScenarioRows rows{};
  rows[3].Name = "Stazione \xe0";  // a Latin-1 byte
  rows[3].Start = -7;
  rows[3].Time = 30000;
  rows[86].Word5 = -2;
  const SimFile sim = decode_sim(serialise_sim(rows), "x.sim");
  EXPECT_EQ(sim.rows, rows);
  EXPECT_EQ(sim.offsets[4], 4 * kRowFixedBytes + rows[3].Name.size());

  std::vector<TrainCell> cells(5);
  cells[2] = TrainCell{kind::kSignal, -1, 2, 300, 4, 101, 21, 3, 16, 104, 200};
  EXPECT_EQ(decode_dat(serialise_dat(cells), "x.dat"), cells);

  LinePlan plan;
  plan.create(4);
  plan.set_int(0, 1, -3);
  plan.set_real(2, 0, 0.1);
  plan.set_real(3, 1, -1e300);
  const LinePlan back = decode_linea(serialise_linea(plan), "x_linea.dat");
  ASSERT_EQ(back.last_point(), 4);
  for (std::int64_t m = 0; m <= 4; ++m) {
    for (int col = 0; col < 2; ++col) {
      EXPECT_EQ(back.get(m, col).tag, plan.get(m, col).tag) << m << " " << col;
      EXPECT_EQ(back.get(m, col).value, plan.get(m, col).value) << m << " " << col;
    }
  }
}

struct BrokenPlan {
  const char* name;
  std::string bytes;
  std::size_t offset;
  const char* message;
};

const BrokenPlan kBrokenPlans[] = {
    {"tag_cut", std::string("\x02\x00\x01\x00\x05", 5), 4, "truncated at byte offset 4: value 1 type tag"},
    {"unknown_tag", std::string("\x07\x00", 2), 0, "malformed at byte offset 0: value 0 type tag: holds 7"},
    {"real_cut", std::string("\x00\x00\x05\x00\x01\x02", 6), 4, "truncated at byte offset 4: value 1: the file ends"},
    {"int16_cut", std::string("\x00\x00\x02\x00\x01", 5), 4, "truncated at byte offset 4: value 1: the file ends"},
    {"unknown_tag_after_values", std::string("\x02\x00\x01\x00\x00\x00\x06\x00", 8), 6,
     "malformed at byte offset 6: value 2 type tag: holds 6"},
    {"odd_count", std::string("\x00\x00", 2), 2, "the file holds 1 values"},
    {"empty", std::string(), 0, "the file holds 0 values"},
};

class BinaryReadersPlan : public ::testing::TestWithParam<BrokenPlan> {};

TEST_P(BinaryReadersPlan, NamesTheByteWhereItBreaks) {
  const BrokenPlan& b = GetParam();
  try {
    decode_linea(b.bytes, "p_linea.dat");
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_NE(std::string(f.what()).find(b.message), std::string::npos) << f.what();
    EXPECT_EQ(f.detail().value, static_cast<std::int64_t>(b.offset));
  }
  std::optional<DecodeFault> fault;
  read_plan_values(b.bytes, fault);
  if (std::string_view(b.name) != "odd_count" && std::string_view(b.name) != "empty") {
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->offset, b.offset);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BinaryReadersPlan, ::testing::ValuesIn(kBrokenPlans),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BinaryReaders, DatOfPartCellIsRefusedAtItsOffset) {
  const std::string bytes(kCellBytes + 3, '\0');
  try {
    decode_dat(bytes, "x.dat");
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_NE(std::string(f.what()).find("truncated at byte offset 15: cell 1"), std::string::npos) << f.what();
  }
}

}  // namespace
}  // namespace scenario
