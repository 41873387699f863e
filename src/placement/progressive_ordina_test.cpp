// progressive_ordina: ordering of the chainage triples in rows 81 to 83.
#include <gtest/gtest.h>

#include <array>

#include "placement/placement.h"

namespace scenario {
namespace {

using Triple = std::array<std::int32_t, 3>;  // Start, End, Position
using Rows = std::array<Triple, 3>;          // rows 81, 82, 83

struct OrdinaCase {
  const char* name;
  Rows in;
  Rows want;
};
void PrintTo(const OrdinaCase& c, std::ostream* os) { *os << c.name; }

class ProgressiveOrdina : public testing::TestWithParam<OrdinaCase> {};

TEST_P(ProgressiveOrdina, OrdersRows81To83) {
  const OrdinaCase& c = GetParam();
  CompileState s;
  for (int n = 0; n < 3; ++n) {
    ScenarioRecord& r = s.scenario.ScenarioTable[81 + n];
    r.Start = c.in[n][0];
    r.End = c.in[n][1];
    r.Position = c.in[n][2];
  }
  progressive_ordina(s);
  for (int n = 0; n < 3; ++n) {
    const ScenarioRecord& r = s.scenario.ScenarioTable[81 + n];
    EXPECT_EQ((Triple{r.Start, r.End, r.Position}), c.want[n]) << "row " << 81 + n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Triples, ProgressiveOrdina,
    testing::Values(
        OrdinaCase{"BuiltInStaysAndRaisesEnds",
                   {{{87900, 95900, 1}, {14700, 99500, 1}, {0, 0, 0}}},
                   {{{87900, 96000, 1}, {14700, 99600, 1}, {0, 0, 0}}}},
        OrdinaCase{"AscendingIsReversed",
                   {{{100, 1, 0}, {200, 2, 0}, {300, 3, 0}}},
                   {{{300, 3, 0}, {200, 2, 0}, {100, 1, 0}}}},
        OrdinaCase{"TieBelowTheLargestPutsTheHigherRowSecond",
                   {{{0, 10, 0}, {0, 20, 0}, {500, 30, 0}}},
                   {{{500, 30, 0}, {0, 20, 0}, {0, 10, 0}}}},
        OrdinaCase{"TieBelowALargestInTheMiddle",
                   {{{100, 1, 0}, {300, 2, 0}, {100, 3, 0}}},
                   {{{300, 2, 0}, {100, 3, 0}, {100, 1, 0}}}},
        OrdinaCase{"TieForTheLargestClearsAllAndRaisesNothing",
                   {{{500, 10, 1}, {500, 20, 1}, {0, 30, 1}}},
                   {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
        OrdinaCase{"ZeroStartsPositiveEnd83Exchanges81And83",
                   {{{0, 100, 0}, {0, 200, 0}, {0, 300, 1}}},
                   {{{0, 400, 1}, {0, 200, 0}, {0, 100, 0}}}},
        OrdinaCase{"ZeroStartsPositiveEnd82Exchanges81And82",
                   {{{0, 100, 0}, {0, 3000, 1}, {0, 0, 0}}},
                   {{{0, 3100, 1}, {0, 100, 0}, {0, 0, 0}}}},
        OrdinaCase{"ZeroStartsOnlyEnd81PositiveMovesNothing",
                   {{{0, 700, 1}, {0, 0, 0}, {0, -50, 1}}},
                   {{{0, 800, 1}, {0, 0, 0}, {0, 50, 1}}}},
        OrdinaCase{"ZeroStartsNoPositiveEndClearsAll",
                   {{{0, -5, 1}, {0, 0, 1}, {0, 0, 1}}},
                   {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
        OrdinaCase{"StartsSummingToZeroChooseByEnd",
                   {{{100, 5, 0}, {-100, 0, 0}, {0, 0, 0}}},
                   {{{100, 5, 0}, {-100, 0, 0}, {0, 0, 0}}}}),
    [](const testing::TestParamInfo<OrdinaCase>& i) { return std::string(i.param.name); });

TEST(ProgressiveOrdinaRows, OtherFieldsOfTheRowsStay) {
  CompileState s;
  s.scenario.ScenarioTable[81].Start = 100;
  s.scenario.ScenarioTable[83].Start = 300;
  s.scenario.ScenarioTable[81].Name = "keep";
  s.scenario.ScenarioTable[83].Word1 = 7;
  progressive_ordina(s);
  EXPECT_EQ(s.scenario.ScenarioTable[81].Start, 300);
  EXPECT_EQ(s.scenario.ScenarioTable[81].Name, "keep");
  EXPECT_EQ(s.scenario.ScenarioTable[82].Start, 100);
  EXPECT_EQ(s.scenario.ScenarioTable[83].Start, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[83].Word1, 7);
}

}  // namespace
}  // namespace scenario
