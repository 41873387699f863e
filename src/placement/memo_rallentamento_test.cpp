// memo_rallentamento: slow-order cells, refusals 17 to 20 and bounds.
#include <gtest/gtest.h>

#include <vector>

#include "platform/failure.h"
#include "placement/placement.h"

namespace scenario {
namespace {

class MemoRallentamento : public testing::Test {
 protected:
  void SetUp() override { crea_celle(s, 96000); }
  CompileState s;
};

TEST_F(MemoRallentamento, NearTheOriginNoWarningAndNoApproachCells) {
  auto want = s.scenario.TrainCells;
  want[21] = TrainCell{.Kind = kind::kSlowStart, .Word1 = 60, .Word3 = 7};
  want[31] = TrainCell{.Kind = kind::kSlowEnd, .Word1 = 60, .Word3 = 7};
  memo_rallentamento(s, RecordAt{}, 1000, 60, 500, 7, 1, 0);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.TrainCells, want);
}

TEST_F(MemoRallentamento, AtExactly1500ThereIsNoWarning) {
  memo_rallentamento(s, RecordAt{}, 1500, 60, 500, 7, 1, 9);
  EXPECT_EQ(cella(s, 31).Kind, kind::kSlowStart);
  for (int c = 0; c < 31; ++c) EXPECT_EQ(cella(s, c), TrainCell{}) << "cell " << c;
}

TEST_F(MemoRallentamento, ZeroLengthEndsAsAStart) {
  memo_rallentamento(s, RecordAt{}, 1000, 60, 0, 0, 0, 5);
  EXPECT_EQ(cella(s, 21), (TrainCell{.Kind = kind::kSlowStart, .Word1 = 60, .Word2 = 5}));
  EXPECT_EQ(cella(s, 22), TrainCell{});
}

TEST_F(MemoRallentamento, FullSlowOrderWithWarningAndApproachCells) {
  auto want = s.scenario.TrainCells;
  want[101] = TrainCell{.Kind = kind::kSlowStart, .Word1 = 40, .Word2 = 9, .Word3 = 2};
  want[121] = TrainCell{.Kind = kind::kSlowEnd, .Word1 = 40, .Word2 = 9, .Word3 = 2};
  want[77] = TrainCell{.Kind = kind::kSlowWarning, .Word1 = 40, .Word2 = 9};
  for (std::int16_t n = 1; n <= 4; ++n) {
    want[77 - n] = TrainCell{.Kind = kind::kSlowApproach, .Word1 = n, .Word2 = n};
  }
  memo_rallentamento(s, RecordAt{}, 5000, 40, 1000, 2, 1, 9);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.TrainCells, want);
}

TEST_F(MemoRallentamento, ZeroDvLeavesWord2AndNoApproachWithoutSwitch) {
  cella(s, 101) = TrainCell{.Kind = kind::kRangeMarker, .Word2 = 3, .Byte3 = 1};
  memo_rallentamento(s, RecordAt{}, 5000, 40, 1000, 2, 1, 0);
  EXPECT_EQ(cella(s, 101), (TrainCell{.Kind = kind::kSlowStart, .Word1 = 40, .Word2 = 3, .Word3 = 2, .Byte3 = 1}));
  EXPECT_EQ(cella(s, 76), (TrainCell{.Kind = kind::kSlowApproach, .Word1 = 1}));

  CompileState t;
  crea_celle(t, 96000);
  memo_rallentamento(t, RecordAt{}, 5000, 40, 1000, 2, 0, 9);
  EXPECT_EQ(cella(t, 77).Kind, kind::kSlowWarning);
  EXPECT_EQ(cella(t, 76), TrainCell{});
}

TEST_F(MemoRallentamento, WideValuesKeepTheirLowBits) {
  memo_rallentamento(s, RecordAt{}, 5000, 65536 + 40, 1000, -65536 + 2, 0, 65536 * 2 + 9);
  EXPECT_EQ(cella(s, 101), (TrainCell{.Kind = kind::kSlowStart, .Word1 = 40, .Word2 = 9, .Word3 = 2}));
}

struct RefusalCase {
  std::int32_t taken_cell;
  std::int32_t want_code;
};

TEST_F(MemoRallentamento, TakenCellsAreRefusedAndNothingIsWritten) {
  const RefusalCase cases[] = {{77, 17}, {101, 18}, {121, 19}};
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 96000);
    cella(t, c.taken_cell).Kind = kind::kSignal;
    const auto before = t.scenario.TrainCells;
    memo_rallentamento(t, RecordAt{}, 5000, 40, 1000, 2, 1, 9);
    EXPECT_EQ(t.report.StatusCode, c.want_code) << "cell " << c.taken_cell;
    EXPECT_EQ(t.scenario.TrainCells, before) << "cell " << c.taken_cell;
  }
}

TEST_F(MemoRallentamento, TakenApproachCellRefusesWith20AfterTheMainCells) {
  for (std::int32_t taken = 73; taken <= 76; ++taken) {
    CompileState t;
    crea_celle(t, 96000);
    cella(t, taken).Kind = kind::kStop;
    memo_rallentamento(t, RecordAt{}, 5000, 40, 1000, 2, 1, 9);
    EXPECT_EQ(t.report.StatusCode, 20) << "cell " << taken;
    EXPECT_EQ(cella(t, 101).Kind, kind::kSlowStart);
    EXPECT_EQ(cella(t, 121).Kind, kind::kSlowEnd);
    EXPECT_EQ(cella(t, 77).Kind, kind::kSlowWarning);
    for (std::int32_t c = 73; c <= 76; ++c) {
      EXPECT_EQ(cella(t, c).Kind, c == taken ? kind::kStop : 0) << "cell " << c << " taken " << taken;
    }
  }
}

TEST_F(MemoRallentamento, EndPastTheLastCellFailsAndWritesNothing) {
  const auto before = s.scenario.TrainCells;
  try {
    memo_rallentamento(s, RecordAt{}, 102900, 40, 100, 0, 0, 0);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "the end of the slow order at 102900 m needs train cells 2061..2061, outside 0..2060");
  }
  EXPECT_EQ(s.scenario.TrainCells, before);
  memo_rallentamento(s, RecordAt{}, 102900, 40, 50, 0, 0, 0);  // ends in the last cell
  EXPECT_EQ(cella(s, 2060).Kind, kind::kSlowEnd);
}

TEST_F(MemoRallentamento, StartBeforeCell0Fails) {
  EXPECT_THROW(memo_rallentamento(s, RecordAt{}, -200, 40, 1000, 0, 0, 0), Failure);
}

}  // namespace
}  // namespace scenario
