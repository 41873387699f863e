// memo_segnale: a signal's cell, its packed codes and its approach marks.
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "placement/placement.h"

namespace scenario {
namespace {

class MemoSegnale : public testing::Test {
 protected:
  void SetUp() override { crea_celle(s, 96000); }
  CompileState s;
};

TEST_F(MemoSegnale, SignalAt10700) {
  cella(s, 213) = TrainCell{.Kind = kind::kSpeedBoard, .Word1 = 99};  // a mark cell keeps its other fields
  memo_segnale(s, RecordAt{}, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(cella(s, 215), (TrainCell{.Kind = kind::kSignal, .Word1 = 40, .Word2 = 10, .Word3 = 0, .Word4 = 3}));
  EXPECT_EQ(cella(s, 213), (TrainCell{.Kind = kind::kSpeedBoard, .Word1 = 99, .Byte2 = 31}));
  EXPECT_EQ(cella(s, 211).Byte2, 32);
  EXPECT_EQ(cella(s, 209).Byte2, 33);
  EXPECT_EQ(cella(s, 207).Byte2, 34);
  for (int c : {205, 206, 208, 210, 212, 214, 216}) EXPECT_EQ(cella(s, c), TrainCell{}) << "cell " << c;
  EXPECT_EQ(s.report.StatusCode, 0);
}

TEST_F(MemoSegnale, PacksAllCodes) {
  memo_segnale(s, RecordAt{}, 10700, 2, 1, 2, 3, 4, 5, 1, 2, 3, 0);
  const TrainCell& c = cella(s, 215);
  EXPECT_EQ(c.Word4, 4 * 10 + 2 * 3 + 5);
  EXPECT_EQ(c.Word1, 11);
  EXPECT_EQ(c.Word2, 22);
  EXPECT_EQ(c.Word3, 33);
  EXPECT_EQ(cella(s, 213).Byte2, 111);
  EXPECT_EQ(cella(s, 207).Byte2, 114);
}

TEST_F(MemoSegnale, WideCodesKeepTheirLowBits) {
  memo_segnale(s, RecordAt{}, 10700, 10, 4000, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(cella(s, 215).Word1, -25536);  // 40000
  EXPECT_EQ(cella(s, 213).Byte2, 45);      // 301
}

struct TempoCase {
  std::int32_t sx, tempo;
  std::uint8_t want;
};

TEST_F(MemoSegnale, TimeOnlyForSx2AndRaisedTo101) {
  const TempoCase cases[] = {
      {2, 30, 101}, {2, 0, 0},    {2, 1, 101},  {2, 100, 101}, {2, 101, 101},
      {2, 200, 200}, {2, -1, 255}, {2, 300, 44}, {1, 30, 0},    {3, 200, 0},
  };
  for (const auto& c : cases) {
    CompileState t;
    crea_celle(t, 96000);
    memo_segnale(t, RecordAt{}, 10700, c.sx, 0, 0, 0, 0, 0, 0, 0, 0, c.tempo);
    EXPECT_EQ(cella(t, 215).Byte1, c.want) << "sx " << c.sx << " tempo " << c.tempo;
  }
}

TEST_F(MemoSegnale, RangeMarkerCellIsTakenAndKeepsItsType) {
  cella(s, 215) = TrainCell{.Kind = kind::kRangeMarker, .Byte3 = 2};
  memo_segnale(s, RecordAt{}, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(cella(s, 215).Kind, kind::kSignal);
  EXPECT_EQ(cella(s, 215).Byte3, 2);
}

TEST_F(MemoSegnale, TakenCellIsRefusedWith16AndNothingIsWritten) {
  cella(s, 215).Kind = kind::kSpeedBoard;
  const auto before = s.scenario.TrainCells;
  memo_segnale(s, RecordAt{}, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(s.report.StatusCode, 16);
  EXPECT_EQ(s.scenario.TrainCells, before);
}

TEST_F(MemoSegnale, MarksBeforeCell0FailAndWriteNothing) {
  const auto before = s.scenario.TrainCells;
  try {
    memo_segnale(s, RecordAt{}, 300, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_STREQ(f.what(), "signal at 300 m needs train cells -1..7, outside 0..2060");
  }
  EXPECT_EQ(s.scenario.TrainCells, before);
  memo_segnale(s, RecordAt{}, 350, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0);  // lowest position: last mark in cell 0
  EXPECT_EQ(cella(s, 8).Kind, kind::kSignal);
  EXPECT_EQ(cella(s, 0).Byte2, 34);
}

TEST_F(MemoSegnale, CellPastTheArrayFails) {
  EXPECT_THROW(memo_segnale(s, RecordAt{}, 103000, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0), Failure);
}

}  // namespace
}  // namespace scenario
