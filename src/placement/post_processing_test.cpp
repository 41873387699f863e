// elabora_celle: speed marks behind warnings, around slow orders and after them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "platform/failure.h"
#include "placement/post_processing.h"

namespace scenario {
namespace {

constexpr TrainCell kMark{.Kind = kind::kReductionValue, .Word1 = 180};

// A route with cells 0 to 200 (3000 m + 7000 m).
class ElaboraCelle : public testing::Test {
 protected:
  void SetUp() override { crea_celle(s, 3000); }

  void put(std::int32_t i, std::uint8_t k, std::int16_t word1 = 0) { cella(s, i) = TrainCell{.Kind = k, .Word1 = word1}; }
  // A slow order from start to end at a speed, as the placement leaves it.
  void slow_order(std::int32_t start, std::int32_t end, std::int16_t speed) {
    put(end, kind::kSlowEnd, speed);
    put(start, kind::kSlowStart, speed);
  }
  // The array as it is now, with marks added at the given cells.
  std::vector<TrainCell> with_marks(std::initializer_list<std::int32_t> cells) {
    std::vector<TrainCell> want = s.scenario.TrainCells;
    for (std::int32_t c : cells) want[static_cast<std::size_t>(c)] = kMark;
    return want;
  }

  CompileState s;
};

struct WarningCase {
  const char* name;
  TrainCell cell5, cell4;
  TrainCell want5, want4;
  std::int32_t want_status;
};

TEST_F(ElaboraCelle, SignalBehindAWarningGetsAMarkOrACap) {
  const TrainCell empty{}, signal{.Kind = kind::kSignal}, board{.Kind = kind::kSpeedBoard};
  const TrainCell r60{.Kind = kind::kReductionValue, .Word1 = 60};
  const TrainCell r250{.Kind = kind::kReductionValue, .Word1 = 250};
  const TrainCell marker{.Kind = kind::kRangeMarker, .Byte3 = 1};
  const WarningCase cases[] = {
      {"both free: the nearer", empty, empty, kMark, empty, 0},
      {"range marker is free", marker, empty, {.Kind = 12, .Word1 = 180, .Byte3 = 1}, empty, 0},
      {"nearer taken: the farther", board, empty, board, kMark, 0},
      {"mark 60 kept", r60, signal, r60, signal, 0},
      {"mark 250 capped", r250, signal, kMark, signal, 0},
      {"farther mark capped", board, r250, board, kMark, 0},
      {"free farther wins over a nearer mark", r250, empty, r250, kMark, 0},
      {"nothing possible", board, signal, board, signal, 11},
  };
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 3000);
    cella(t, 10).Kind = kind::kSlowWarning;
    cella(t, 6).Kind = kind::kSignal;
    cella(t, 5) = c.cell5;
    cella(t, 4) = c.cell4;
    elabora_celle(t, Origins{});
    EXPECT_EQ(cella(t, 5), c.want5) << c.name;
    EXPECT_EQ(cella(t, 4), c.want4) << c.name;
    EXPECT_EQ(t.report.StatusCode, c.want_status) << c.name;
    EXPECT_EQ(t.report.StatusPosition, c.want_status ? 300 : 0) << c.name;
  }
}

TEST_F(ElaboraCelle, EverySignalWithin20CellsDownToCell3IsTreated) {
  put(40, kind::kSlowWarning);
  for (std::int32_t c : {39, 25, 20, 15}) put(c, kind::kSignal);  // 15 is 25 cells behind
  put(9, kind::kSlowWarning);
  put(3, kind::kSignal);  // cell 2 is taken, so its mark goes to cell 1
  put(2, kind::kSignal);  // never treated: it would have marked cell 0
  auto want = with_marks({38, 24, 19, 1});
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, want);
}

TEST_F(ElaboraCelle, SlowOrderFrom100To130AtSpeed60) {
  slow_order(100, 130, 60);
  put(135, kind::kSignal);
  auto want = with_marks({95, 89, 82, 108, 116, 124, 134});
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, want);
  EXPECT_EQ(s.report.StatusCode, 0);
}

struct WindowCase {
  std::int32_t start;
  std::vector<std::int32_t> marks;
};

TEST_F(ElaboraCelle, WindowsBehindAStartDependOnItsIndex) {
  const WindowCase cases[] = {
      {7, {}}, {8, {3}}, {13, {8}}, {14, {9, 3}}, {20, {15, 9}}, {21, {16, 10, 3}},
  };
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 3000);
    cella(t, c.start) = TrainCell{.Kind = kind::kSlowStart, .Word1 = 110};
    std::vector<TrainCell> want = t.scenario.TrainCells;
    for (std::int32_t m : c.marks) want[static_cast<std::size_t>(m)] = kMark;
    elabora_celle(t, Origins{});
    EXPECT_EQ(t.scenario.TrainCells, want) << "start " << c.start;
  }
}

TEST_F(ElaboraCelle, WindowTakesItsFirstFreeCellOrSets12) {
  slow_order(100, 101, 110);
  put(95, kind::kSignal);
  for (std::int32_t c : {89, 88, 87}) put(c, kind::kSpeedBoard);
  auto want = with_marks({94, 82});
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, want);
  EXPECT_EQ(s.report.StatusCode, 12);
  EXPECT_EQ(s.report.StatusPosition, 5000);
}

TEST_F(ElaboraCelle, Speed110GetsWindowsOnly) {
  slow_order(100, 130, 110);
  put(135, kind::kSignal);
  auto want = with_marks({95, 89, 82});
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, want);
}

// Without its own walk a slow order at 110 has no end cell to scan from; the
// end of the slow order before it must not stand in for it.
TEST_F(ElaboraCelle, Speed110DoesNotScanFromAnEarlierSlowOrdersEnd) {
  slow_order(30, 40, 60);
  put(45, kind::kSignal);  // its mark, 44, comes from the first slow order
  slow_order(60, 65, 110);
  auto want = with_marks({25, 19, 12, 38, 44, 55, 49, 42});
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, want);  // cell 43 stays empty
  EXPECT_EQ(s.report.StatusCode, 0);
}

struct WalkCase {
  const char* name;
  std::vector<std::int32_t> taken;
  std::vector<std::int32_t> marks;  // inside the slow order 100..138
  std::int32_t want_status;
  std::int32_t want_position;
};

TEST_F(ElaboraCelle, WalkKeepsMarksEightCellsApart) {
  const WalkCase cases[] = {
      {"all free", {}, {108, 116, 124, 132}, 0, 0},
      {"8th taken: the 7th", {108}, {107, 115, 123, 131}, 0, 0},
      {"8th and 7th taken: the 9th", {108, 107}, {109, 117, 125, 133}, 0, 0},
      {"all three taken: no more marks", {107, 108, 109}, {}, 13, 5400},
  };
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 3000);
    cella(t, 138) = TrainCell{.Kind = kind::kSlowEnd};
    cella(t, 100) = TrainCell{.Kind = kind::kSlowStart, .Word1 = 60};
    for (std::int32_t x : c.taken) cella(t, x).Kind = kind::kSpeedBoard;
    std::vector<TrainCell> want = t.scenario.TrainCells;
    for (std::int32_t m : {95, 89, 82}) want[static_cast<std::size_t>(m)] = kMark;
    for (std::int32_t m : c.marks) want[static_cast<std::size_t>(m)] = kMark;
    elabora_celle(t, Origins{});
    EXPECT_EQ(t.scenario.TrainCells, want) << c.name;
    EXPECT_EQ(t.report.StatusCode, c.want_status) << c.name;
    EXPECT_EQ(t.report.StatusPosition, c.want_position) << c.name;
  }
}

struct AfterEndCase {
  const char* name;
  std::int32_t signal;
  std::vector<std::int32_t> taken;
  std::int32_t want_mark;  // -1: none
  std::int32_t want_status;
};

TEST_F(ElaboraCelle, FirstSignalWithin13CellsAfterTheEndGetsAMark) {
  const AfterEndCase cases[] = {
      {"before the signal", 135, {}, 134, 0},
      {"one further back", 135, {134}, 133, 0},
      {"both taken", 135, {134, 133}, -1, 13},
      {"12 cells after the end", 142, {}, 141, 0},
      {"13 cells after the end", 143, {}, -1, 0},
      {"right after the end", 131, {}, -1, 13},  // 130 is the end, 129 the last walk cell
  };
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 3000);
    cella(t, 130) = TrainCell{.Kind = kind::kSlowEnd};
    cella(t, 100) = TrainCell{.Kind = kind::kSlowStart, .Word1 = 60};
    cella(t, 129).Kind = kind::kSpeedBoard;
    cella(t, c.signal).Kind = kind::kSignal;
    for (std::int32_t x : c.taken) cella(t, x).Kind = kind::kSpeedBoard;
    std::vector<TrainCell> before = t.scenario.TrainCells;
    elabora_celle(t, Origins{});
    for (std::int32_t m = 131; m <= 145; ++m) {
      TrainCell want = m == c.want_mark ? kMark : before[static_cast<std::size_t>(m)];
      EXPECT_EQ(cella(t, m), want) << c.name << ", cell " << m;
    }
    EXPECT_EQ(t.report.StatusCode, c.want_status) << c.name;
    EXPECT_EQ(t.report.StatusPosition, c.want_status ? 6500 : 0) << c.name;
  }
}

TEST_F(ElaboraCelle, WalkWithoutAnEndStopsAtTheLastCell) {
  put(180, kind::kSlowStart, 60);
  put(199, kind::kSignal);
  auto want = with_marks({175, 169, 162, 188, 196});
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, want);  // the scan from cell 200 finds no signal
}

TEST_F(ElaboraCelle, EighthCellAtTheLastCellNeverLooksPastIt) {
  put(192, kind::kSlowStart, 60);
  put(200, kind::kSignal);
  put(199, kind::kSignal);
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.report.StatusCode, 13);
  EXPECT_EQ(s.report.StatusPosition, 10000);
}

TEST_F(ElaboraCelle, LastTwoCellsAreNeverAStartingPoint) {
  put(199, kind::kSlowStart, 60);
  put(200, kind::kSlowWarning);
  put(195, kind::kSignal);
  const auto before = s.scenario.TrainCells;
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, before);
  put(198, kind::kSlowStart, 110);
  elabora_celle(s, Origins{});
  EXPECT_EQ(cella(s, 193), kMark);
}

TEST_F(ElaboraCelle, NothingToDoWithoutSlowOrders) {
  put(50, kind::kSignal);
  put(60, kind::kSpeedBoard);
  put(70, kind::kReductionValue, 250);
  const auto before = s.scenario.TrainCells;
  elabora_celle(s, Origins{});
  EXPECT_EQ(s.scenario.TrainCells, before);
  EXPECT_EQ(s.report.StatusCode, 0);
}

TEST(ElaboraCelleNoCells, FailsWhenTheArrayWasNeverCreated) {
  CompileState s;
  try {
    elabora_celle(s, Origins{});
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "the train cell array does not exist (no route length record)");
  }
}

}  // namespace
}  // namespace scenario
