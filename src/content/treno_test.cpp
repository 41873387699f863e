// The built-in train source: line count, its golden text and column layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/golden_test_support.h"
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

// Every byte of the text, against the golden file.
TEST(RigheTreno, TextIsTheGoldenFile) { EXPECT_TRUE(golden::matches("treno.txt", render_lines(righe_treno()))); }

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
