// Tests of the edit distance and the "did you mean" hints.
#include "common/text_match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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
      {"xyzpendenza", "pendenza", 3},  // the lengths alone give the bound
      {"abcdef", "uvwxyz", 6},         // every row is past a small limit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(edit_distance(c.a, c.b), c.distance) << c.a << " / " << c.b;
    EXPECT_EQ(edit_distance(c.b, c.a), c.distance) << "symmetric: " << c.a << " / " << c.b;
    for (std::size_t limit = 0; limit <= 4; ++limit) {
      const std::size_t capped = std::min(c.distance, limit + 1);
      EXPECT_EQ(edit_distance_within(c.a, c.b, limit), capped) << c.a << " / " << c.b << " within " << limit;
      EXPECT_EQ(edit_distance_within(c.b, c.a, limit), capped) << c.b << " / " << c.a << " within " << limit;
    }
  }
}

TEST(EditDistance, WordsLongerThanTheStackRow) {
  const std::string long_a(100, 'a');
  std::string long_b = long_a;
  long_b[50] = 'b';
  EXPECT_EQ(edit_distance(long_a, long_b), 1u);
  EXPECT_EQ(edit_distance_within(long_a, long_b, 0), 1u);
  EXPECT_EQ(edit_distance(long_a, std::string(70, 'a')), 30u);
  // A row of 64 + 1 entries: one past what the stack holds.
  EXPECT_EQ(edit_distance(std::string(63, 'a'), std::string(64, 'a')), 1u);
  EXPECT_EQ(edit_distance(std::string(64, 'a'), std::string(63, 'a') + "b"), 1u);
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
