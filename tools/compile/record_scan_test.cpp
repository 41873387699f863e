// Tests of re-reading a record's fields the way the compiler splits them.
#include "compile/record_scan.h"

#include <gtest/gtest.h>

namespace scenario::tool {
namespace {

struct ScanCase {
  const char* text;
  std::size_t offset;
  std::size_t numbers;
  std::vector<std::string> fields;
  std::vector<std::size_t> offsets;
};

TEST(RecordScan, SplitsLikeTheReader) {
  const ScanCase cases[] = {
      {"orologio,    8               6             30 \r\n[x]", 0, 3, {"orologio", "8", "6", "30"}, {0, 13, 29, 43}},
      {"indicatori_vmax,  550,  80,  ,  0\r\n", 0, 4, {"indicatori_vmax", "550", "80", "", "0"}, {0, 18, 24, 29, 32}},
      // A comma before a line end leaves an empty field, as in the reader.
      {"a\r\npendenza,  500,\r\n   3\r\n", 3, 3, {"pendenza", "500", "", "3"}, {3, 14, 18, 23}},
      {"sabbia", 0, 3, {"sabbia"}, {0}},  // the text ends: fewer fields, no failure
      {"x", 5, 3, {}, {}},                // an offset past the end
  };
  for (const ScanCase& c : cases) {
    auto got = record_fields(c.text, c.offset, c.numbers);
    ASSERT_EQ(got.size(), c.fields.size()) << c.text;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].text, c.fields[i]) << c.text << " field " << i;
      EXPECT_EQ(got[i].offset, c.offsets[i]) << c.text << " field " << i;
    }
  }
}

TEST(RecordScan, NumbersOfFields) {
  EXPECT_EQ(number_of({0, ""}), 0) << "an empty field reads 0";
  EXPECT_EQ(number_of({0, "-27"}), -27);
  EXPECT_EQ(number_of({0, "+5"}), 5);
  EXPECT_EQ(number_of({0, "99999999999"}), 99999999999) << "wide enough for values that do not fit 32 bits";
  EXPECT_FALSE(number_of({0, "12a"}).has_value());
  EXPECT_FALSE(number_of({0, "ARDIS"}).has_value());
  EXPECT_FALSE(number_at({{0, "k"}}, 1).has_value()) << "a field that is not there";
}

}  // namespace
}  // namespace scenario::tool
