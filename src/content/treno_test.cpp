// The built-in train source: line count, exact lines and column layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

TEST(RigheTreno, FiftyNineLinesThenTheTerminator) {
  std::vector<std::string> lines = righe_treno();
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_EQ(lines[58], "[fine]");
  EXPECT_EQ(lines[59], kTerminator);
  std::string text = render_lines(lines);
  std::size_t line_ends = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++line_ends;
  EXPECT_EQ(line_ends, 59u);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // CR LF, no bare LF
  EXPECT_TRUE(text.ends_with("[fine]\r\n"));
}

struct LineCase {
  std::size_t index;
  std::string text;
};

class RigheTrenoLine : public testing::TestWithParam<LineCase> {};

TEST_P(RigheTrenoLine, IsExactly) {
  std::vector<std::string> lines = righe_treno();
  ASSERT_LT(GetParam().index, lines.size());
  EXPECT_EQ(lines[GetParam().index], GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Content, RigheTrenoLine,
    testing::Values(
        LineCase{0, "[generale]"}, LineCase{1, "numero vetture,    3"},
        LineCase{2, "percentuale massa frenata,    120"}, LineCase{3, "sabbia,    300"},
        LineCase{4, "orologio,    8               6             30 "}, LineCase{5, "[aderenze]"},
        LineCase{6, "aderenza,   0,    100"}, LineCase{7, "[vel_limite]"},
        LineCase{8, "velocita,       0,    80"}, LineCase{9, "velocita,   24600,    40"},
        LineCase{12, "velocita,   35200,    80"}, LineCase{13, "[stazioni]"},
        LineCase{14, "stazione,       0, 12,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,   8, 7, 0, CASTROVELDE"},
        LineCase{17, "stazione,   11950, 26,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, P.M. Km 11.959"},
        LineCase{22, "stazione,   41400, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,   9, 7, 0, SERRAVALLE"},
        // Two-digit minutes fill their column of 2 with no blank.
        LineCase{31, "stazione,   95900,  2,  600,  1, 1, 0,  1,1,0,  2,1,1,    0,  10,23, 0, ARDIS"},
        // The slow-order section is empty: its header, then the next one.
        LineCase{32, "[rallentamenti]"}, LineCase{33, "[segnali]"},
        LineCase{34, "segnale,   10700,   1, 4, 1,  0, 0,    0,  0,0,0, 0"},
        LineCase{36, "segnale,   12000,   2, 4, 0,  0, 0,    2,  2,0,0, 0"},
        LineCase{38, "segnale,   21050,   2, 2, 3,  1, 0,    0,  0,0,0, 0"},
        LineCase{56, "segnale,   94950,   2, 2, 3,  0, 0,    0,  0,0,0, 0"},
        // The code section is empty too.
        LineCase{57, "[codici]"}, LineCase{58, "[fine]"}));

TEST(RigheTreno, StationNamesComeFromThePlaceNamesInRouteOrder) {
  std::vector<std::string> lines = righe_treno();
  for (std::size_t i = 0; i < names::kStations.size(); ++i) {
    const std::string& line = lines[14 + i];
    EXPECT_TRUE(line.starts_with("stazione,")) << line;
    EXPECT_TRUE(line.ends_with(", " + std::string(names::kStations[i].source))) << line;
    // Columns of 8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2 (46 in all)
    // joined by 15 commas, then ", " and the name.
    std::size_t fixed = std::string("stazione,").size() + 46 + 15 + 2;
    EXPECT_EQ(line.size(), fixed + names::kStations[i].source.size()) << line;
  }
}

}  // namespace
}  // namespace scenario
