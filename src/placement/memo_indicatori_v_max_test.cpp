// memo_indicatori_v_max: speed indicator boards, their rounding and refusal.
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "placement/placement.h"

namespace scenario {
namespace {

class MemoIndicatori : public testing::Test {
 protected:
  void SetUp() override { crea_celle(s, 96000); }
  CompileState s;
};

TEST_F(MemoIndicatori, BuiltInBoardAt550GoesToCell12) {
  cella(s, 12).Byte3 = 4;  // fields it does not name stay
  memo_indicatori_v_max(s, RecordAt{}, 550, 80, 80, 80, 0, 0, 0, 0, 0);
  TrainCell want;
  want.Kind = kind::kSpeedBoard;
  want.Word1 = want.Word2 = want.Word3 = 1600;
  want.Byte3 = 4;
  EXPECT_EQ(cella(s, 12), want);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(cella(s, 11), TrainCell{});
}

struct BoardCase {
  std::int32_t vas, vad;
  std::int16_t want;
};

TEST_F(MemoIndicatori, ValueIsVTimes20PlusDFifthsRounded) {
  const BoardCase cases[] = {
      {1, 3, 21},        {1, 2, 20},          {0, -3, -1},        {0, -2, 0},
      {1638, 35, 32767}, {-1638, -40, -32768}, {0, 163837, 32767},
  };
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 96000);
    memo_indicatori_v_max(t, RecordAt{}, 550, c.vas, 0, 0, 0, c.vad, 0, 0, 0);
    EXPECT_EQ(cella(t, 12).Word1, c.want) << c.vas << ", " << c.vad;
  }
}

TEST_F(MemoIndicatori, EachWordTakesItsOwnPairAndWord4KeepsLowBits) {
  memo_indicatori_v_max(s, RecordAt{}, 550, 1, 2, 3, 2, 5, 10, 15, 3);
  EXPECT_EQ(cella(s, 12).Word1, 21);
  EXPECT_EQ(cella(s, 12).Word2, 42);
  EXPECT_EQ(cella(s, 12).Word3, 63);
  EXPECT_EQ(cella(s, 12).Word4, 23);
  memo_indicatori_v_max(s, RecordAt{}, 650, 0, 0, 0, 3277, 0, 0, 0, 0);  // 32770
  EXPECT_EQ(cella(s, 14).Word4, -32766);
}

TEST_F(MemoIndicatori, ValueOutside16BitsFailsAndLeavesTheCell) {
  const std::int32_t vas_vcs[][2] = {{1639, 0}, {-1639, 0}, {0, 1639}};
  for (const auto& v : vas_vcs) {
    EXPECT_THROW(memo_indicatori_v_max(s, RecordAt{}, 550, v[0], 0, v[1], 0, 0, 0, 0, 0), Failure)
        << v[0] << ", " << v[1];
    EXPECT_EQ(cella(s, 12), TrainCell{});
  }
  try {
    memo_indicatori_v_max(s, RecordAt{}, 550, 1639, 0, 0, 0, 0, 0, 0, 0);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "value 32780.000000 does not fit a 16-bit integer");
  }
}

TEST_F(MemoIndicatori, TakenCellIsRefusedWith21) {
  cella(s, 12) = TrainCell{.Kind = kind::kSignal, .Word1 = 5};
  memo_indicatori_v_max(s, RecordAt{}, 550, 80, 80, 80, 0, 0, 0, 0, 0);
  EXPECT_EQ(s.report.StatusCode, 21);
  EXPECT_EQ(cella(s, 12), (TrainCell{.Kind = kind::kSignal, .Word1 = 5}));
}

TEST_F(MemoIndicatori, RangeMarkerCellIsFree) {
  cella(s, 12).Kind = kind::kRangeMarker;
  memo_indicatori_v_max(s, RecordAt{}, 550, 80, 80, 80, 0, 0, 0, 0, 0);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(cella(s, 12).Kind, kind::kSpeedBoard);
}

}  // namespace
}  // namespace scenario
