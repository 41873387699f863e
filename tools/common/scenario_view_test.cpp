// Tests of reading rows and cells as stations, signs, profile runs and tunnels.
#include "common/scenario_view.h"

#include <gtest/gtest.h>

namespace scenario::tool {
namespace {

TEST(ScenarioView, RowUses) {
  ScenarioRows rows{};
  rows[1].Position = 0;
  rows[1].Start = -250;
  rows[1].Name = "PRIMA";
  rows[2].Name = "(Galleria)";  // a name and nothing else: a sign text
  rows[84].End = 96000;
  EXPECT_EQ(use_of_row(rows, 0), RowUse::Unused);
  EXPECT_EQ(use_of_row(rows, 1), RowUse::Station);
  EXPECT_EQ(use_of_row(rows, 2), RowUse::Sign);
  EXPECT_EQ(use_of_row(rows, 3), RowUse::Unused);
  EXPECT_EQ(use_of_row(rows, 82), RowUse::Chainage);
  EXPECT_EQ(use_of_row(rows, 84), RowUse::Route);
  ASSERT_EQ(stations_of(rows).size(), 1u);
  EXPECT_EQ(stations_of(rows)[0].row, 1);
}

TEST(ScenarioView, RunsOfAProfileByte) {
  std::vector<TrainCell> cells(6);
  for (std::size_t i = 0; i < cells.size(); ++i) cells[i].Byte4 = i < 3 ? 16 : (i < 5 ? 8 : 0);
  auto runs = runs_of(cells, &TrainCell::Byte4);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].first, 0u);
  EXPECT_EQ(runs[0].last, 2u);
  EXPECT_EQ(runs[0].value, 16);
  EXPECT_EQ(runs[1].first, 3u);
  EXPECT_EQ(runs[1].last, 4u);
  EXPECT_EQ(runs[2].first, 5u);
  EXPECT_EQ(runs[2].value, 0);
  EXPECT_TRUE(runs_of({}, &TrainCell::Byte4).empty());
}

// A stretch with a montagna type is a tunnel when a kind-11 marker shows that
// its range came in as type 11 or 12.
TEST(ScenarioView, TunnelsNeedAMarker) {
  std::vector<TrainCell> cells(20);
  for (std::size_t i = 2; i <= 9; ++i) cells[i].Byte3 = 1;
  cells[5].Kind = kind::kRangeMarker;
  cells[12].Byte3 = 2;  // a one-cell range of type 2: no marker, no tunnel
  for (std::size_t i = 15; i <= 19; ++i) cells[i].Byte3 = 1;
  cells[18].Kind = kind::kRangeMarker;  // a tunnel running to the last cell
  auto tunnels = tunnels_of(cells);
  ASSERT_EQ(tunnels.size(), 2u);
  EXPECT_EQ(tunnels[0].first, 2u);
  EXPECT_EQ(tunnels[0].last, 9u);
  EXPECT_EQ(tunnels[1].first, 15u);
  EXPECT_EQ(tunnels[1].last, 19u);
}

TEST(ScenarioView, SignsAndTheirTexts) {
  ScenarioRows rows{};
  rows[80].Name = "(  Galleria  )( Monte Ardo )(  8099 m.   )";
  std::vector<TrainCell> cells(4);
  cells[2].Kind = kind::kSign;
  cells[2].Word1 = 80;
  cells[3].Kind = kind::kSign;
  cells[3].Word1 = 300;  // a row outside the table gives no text rather than a crash
  auto signs = signs_of(rows, cells);
  ASSERT_EQ(signs.size(), 2u);
  EXPECT_EQ(squeeze_blanks(signs[0].text), "(Galleria)(Monte Ardo)(8099 m.)");
  EXPECT_EQ(signs[1].text, "");
  EXPECT_EQ(kind_name(kind::kSignal), "signal");
  EXPECT_EQ(kind_name(99), "kind 99");
}

}  // namespace
}  // namespace scenario::tool
