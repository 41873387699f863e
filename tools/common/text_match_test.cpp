// Tests of the edit distance and the "did you mean" hints.
#include "common/text_match.h"

#include <gtest/gtest.h>

namespace scenario::tool {
namespace {

struct DistanceCase {
  const char* a;
  const char* b;
  std::size_t distance;
};

TEST(EditDistance, CountsInsertDeleteReplace) {
  const DistanceCase cases[] = {
      {"", "", 0},           {"", "abc", 3},          {"pendenza", "pendenza", 0},
      {"pendnza", "pendenza", 1},  // one deletion
      {"pendenzaa", "pendenza", 1},  // one insertion
      {"pemdenza", "pendenza", 1},   // one replacement
      {"stazoine", "stazione", 2},   // a swap costs two
      {"kitten", "sitting", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(edit_distance(c.a, c.b), c.distance) << c.a << " / " << c.b;
    EXPECT_EQ(edit_distance(c.b, c.a), c.distance) << "symmetric: " << c.a << " / " << c.b;
  }
}

struct HintCase {
  const char* word;
  const char* hint;  // nullptr: no hint
};

TEST(NearMiss, HintsOnlyPlausibleSlips) {
  const std::vector<std::string> keywords = {"pendenza", "montagna", "segnale", "sabbia", "--force", "dump"};
  const HintCase cases[] = {
      {"pendnza", "pendenza"}, {"montagne", "montagna"}, {"segnle", "segnale"},
      {"--forse", "--force"},  {"dunp", "dump"},
      {"pendenza", nullptr},   // exact: not a slip
      {"ferrovia", nullptr},   // far from everything
      {"dxmx", nullptr},       // short words allow one edit only
  };
  for (const auto& c : cases) {
    auto hint = near_miss(c.word, keywords);
    if (c.hint == nullptr) {
      EXPECT_FALSE(hint.has_value()) << c.word << " got " << hint.value_or("");
    } else {
      EXPECT_EQ(hint.value_or("<none>"), c.hint) << c.word;
    }
  }
}

TEST(TextMatch, CaseFoldingAndTrimming) {
  EXPECT_TRUE(contains_ci("Stazione", "stazione"));
  EXPECT_TRUE(contains_ci("[GENERALE]", "[generale]"));
  EXPECT_FALSE(contains_ci("staz", "stazione"));
  EXPECT_EQ(trim_blanks("  \t[fine] \t"), "[fine]");
  EXPECT_EQ(trim_blanks("   "), "");
}

}  // namespace
}  // namespace scenario::tool
