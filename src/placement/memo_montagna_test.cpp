// memo_montagna: range type, markers, spacing rule and the range list's bounds.
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// The built-in route: 96000 m, cells 0 to 2060.
class MemoMontagna : public testing::Test {
 protected:
  void SetUp() override { crea_celle(s, 96000); }
  CompileState s;
  RangeList ranges;
};

TEST_F(MemoMontagna, ShortRangeTakesItsTypeWithoutMarker) {
  memo_montagna(s, ranges, 2450, 2600, 12);
  for (int c = 49; c <= 51; ++c) {
    EXPECT_EQ(cella(s, c).Byte3, 2) << "cell " << c;
    EXPECT_EQ(cella(s, c).Kind, 0) << "cell " << c;
  }
  EXPECT_EQ(cella(s, 48).Byte3, 0);
  EXPECT_EQ(cella(s, 52).Byte3, 0);
  EXPECT_EQ(ranges.Count, 1);
  EXPECT_EQ(ranges.Starts[1], 2450);
  EXPECT_EQ(ranges.Ends[1], 2600);
  EXPECT_EQ(ranges.Flag, 1);
}

TEST_F(MemoMontagna, LongRangeMarksEveryFourthEmptyCell) {
  cella(s, 150).Kind = kind::kSpeedBoard;  // taken: keeps its kind, gets the type
  memo_montagna(s, ranges, 6950, 7900, 11);
  for (int c = 138; c <= 158; ++c) {
    const TrainCell& cell = cella(s, c);
    bool inside = c >= 139 && c <= 157;
    EXPECT_EQ(cell.Byte3, inside ? 1 : 0) << "cell " << c;
    std::uint8_t want_kind = (c == 142 || c == 146 || c == 154) ? kind::kRangeMarker : 0;
    if (c == 150) want_kind = kind::kSpeedBoard;
    EXPECT_EQ(cell.Kind, want_kind) << "cell " << c;
  }
}

TEST_F(MemoMontagna, TypeUpToTenPlacesNoMarker) {
  memo_montagna(s, ranges, 6950, 7900, 10);
  EXPECT_EQ(ranges.Flag, 0);
  for (int c = 139; c <= 157; ++c) {
    EXPECT_EQ(cella(s, c).Byte3, 10) << "cell " << c;
    EXPECT_EQ(cella(s, c).Kind, 0) << "cell " << c;
  }
}

TEST_F(MemoMontagna, EmptyRangeIsRecordedButWritesNoCell) {
  memo_montagna(s, ranges, 1000, 1000, 1);
  EXPECT_EQ(ranges.Count, 1);
  EXPECT_EQ(cella(s, 20).Byte3, 0);
  EXPECT_EQ(cella(s, 19).Byte3, 0);
}

struct SpacingCase {
  std::int32_t inizio;  // of the second range; the first ends at 2000
  std::int32_t tipo;
  std::uint8_t want_byte3;
  bool want_marker;  // at the 4th cell of the second range
};

TEST_F(MemoMontagna, RangeWithin150mOfThePreviousTakesType3) {
  const SpacingCase cases[] = {
      {2150, 2, 3, false},   // 150 m after: joined
      {2200, 2, 2, false},   // 200 m after: its own type
      {1900, 1, 3, false},   // overlapping: joined
      {2150, 12, 3, true},   // joined, but the flag still places markers
      {2200, 12, 2, true},
  };
  for (const auto& c : cases) {
    CompileState t;
    RangeList t_ranges;
    crea_celle(t, 96000);
    memo_montagna(t, t_ranges, 1000, 2000, 1);
    memo_montagna(t, t_ranges, c.inizio, c.inizio + 500, c.tipo);
    std::int32_t first = c.inizio / 50;
    EXPECT_EQ(cella(t, first).Byte3, c.want_byte3) << c.inizio << " type " << c.tipo;
    EXPECT_EQ(cella(t, first + 3).Kind, c.want_marker ? kind::kRangeMarker : 0) << c.inizio << " type " << c.tipo;
    EXPECT_EQ(t_ranges.Count, 2);
  }
}

TEST_F(MemoMontagna, EightyFirstRangeFailsAndWritesNothing) {
  for (int n = 0; n < 80; ++n) memo_montagna(s, ranges, 1000 * n, 1000 * n + 100, 1);
  EXPECT_EQ(ranges.Count, 80);
  const auto before = s.scenario.TrainCells;
  try {
    memo_montagna(s, ranges, 90000, 90500, 12);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "montagna range at 90000 m: the range list holds only 80 ranges");
  }
  EXPECT_EQ(ranges.Count, 80);
  EXPECT_EQ(s.scenario.TrainCells, before);
}

TEST_F(MemoMontagna, RangeEndingPastTheLastCellFailsAndWritesNothing) {
  const auto before = s.scenario.TrainCells;
  try {
    memo_montagna(s, ranges, 102000, 103100, 11);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "montagna range 102000..103100 m needs train cells 2040..2061, outside 0..2060");
  }
  EXPECT_EQ(ranges.Count, 0);
  EXPECT_EQ(s.scenario.TrainCells, before);
  memo_montagna(s, ranges, 102000, 103050, 11);  // last cell 2060 still fits
  EXPECT_EQ(cella(s, 2060).Byte3, 1);
}

TEST(MemoMontagnaNoCells, FailsWhenTheArrayWasNeverCreated) {
  CompileState s;
  RangeList ranges;
  EXPECT_THROW(memo_montagna(s, ranges, 100, 500, 1), Failure);
}

}  // namespace
}  // namespace scenario
