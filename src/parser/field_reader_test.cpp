// The field reader: field ends, blanks, numbers and their widths, the end of the text.
#include "parser/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failure.h"

namespace scenario {
namespace {

// One read: 't' text, 'n' 32-bit, 'w' 16-bit, 'b' byte; then the value read
// (as text) and whether the text has ended after it.
struct Read {
  char op;
  std::string value;
  bool at_end;
};

struct ReadCase {
  const char* name;
  std::string text;
  std::vector<Read> reads;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

std::string read_one(FieldReader& in, char op) {
  switch (op) {
    case 't':
      return in.read_text();
    case 'n':
      return std::to_string(in.read_i32());
    case 'w':
      return std::to_string(in.read_i16());
    default:
      return std::to_string(in.read_u8());
  }
}

class FieldReaderReads : public testing::TestWithParam<ReadCase> {};

TEST_P(FieldReaderReads, YieldsTheFieldsInOrder) {
  FieldReader in(GetParam().text);
  for (std::size_t i = 0; i < GetParam().reads.size(); ++i) {
    const Read& r = GetParam().reads[i];
    EXPECT_EQ(read_one(in, r.op), r.value) << "read " << i;
    EXPECT_EQ(in.at_end(), r.at_end) << "read " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldReaderReads,
    testing::Values(
        ReadCase{"CommaAndCrLf", "a,b\r\nc", {{'t', "a", false}, {'t', "b", false}, {'t', "c", true}}},
        ReadCase{"LoneLfAndLoneCr", "a\nb\rc\r\n", {{'t', "a", false}, {'t', "b", false}, {'t', "c", true}}},
        ReadCase{"EmptyLineIsAnEmptyField", "a\r\n\r\nb", {{'t', "a", false}, {'t', "", false}, {'t', "b", true}}},
        ReadCase{"TextSkipsLeadingKeepsTrailingBlanks", "  a b  ,\tx", {{'t', "a b  ", false}, {'t', "x", true}}},
        ReadCase{"TextRunsToLineEndNotBlank", "(Galleria)( Sorba  )\r\n", {{'t', "(Galleria)( Sorba  )", true}}},
        ReadCase{"BlanksBeforeCommaGoWithTheNumber", "0    ,0", {{'n', "0", false}, {'n', "0", true}}},
        ReadCase{"NumbersSeparatedByBlanksAlone", "8   6  30 \r\n",
                 {{'w', "8", false}, {'w', "6", false}, {'w', "30", true}}},
        ReadCase{"EmptyNumericFieldsReadZero", "  0,  ,  ,  0\r\n",
                 {{'n', "0", false}, {'n', "0", false}, {'n', "0", false}, {'n', "0", true}}},
        ReadCase{"NumberThenText", "  550,   (ALVERIA)\r\n[fine]\r\n",
                 {{'n', "550", false}, {'t', "(ALVERIA)", false}, {'t', "[fine]", true}}},
        ReadCase{"SignedNumbers", "-27,+5,-0", {{'n', "-27", false}, {'n', "5", false}, {'n', "0", true}}},
        ReadCase{"WidthLimitsExactly", "2147483647,-2147483648,32767,-32768,255,0",
                 {{'n', "2147483647", false},
                  {'n', "-2147483648", false},
                  {'w', "32767", false},
                  {'w', "-32768", false},
                  {'b', "255", false},
                  {'b', "0", true}}},
        ReadCase{"TrailingBlanksAtTheEnd", "5   ", {{'n', "5", true}}},
        ReadCase{"CommaBeforeLineEndLeavesAnEmptyField", "a,\r\n", {{'t', "a", false}, {'t', "", true}}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

struct FailCase {
  const char* name;
  std::string text;
  std::string ops;  // reads made in order; the last one fails
  std::string message;
};
void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

class FieldReaderFails : public testing::TestWithParam<FailCase> {};

TEST_P(FieldReaderFails, WithItsMessage) {
  const FailCase& c = GetParam();
  FieldReader in(c.text);
  for (std::size_t i = 0; i + 1 < c.ops.size(); ++i) read_one(in, c.ops[i]);
  try {
    read_one(in, c.ops.back());
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(std::string(f.what()), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldReaderFails,
    testing::Values(
        FailCase{"I32TooLarge", "2147483648", "n", "line 1: '2147483648' does not fit a 32-bit number"},
        FailCase{"I32TooSmall", "-2147483649", "n", "line 1: '-2147483649' does not fit a 32-bit number"},
        FailCase{"ManyDigitsDoNotOverflow", "99999999999999999999999", "n",
                 "line 1: '99999999999999999999999' does not fit a 32-bit number"},
        // One digit more than the lowest value: the digits are read on past
        // the magnitude of the lowest value, never cut to it.
        FailCase{"I32LowestTimesTen", "-21474836480", "n", "line 1: '-21474836480' does not fit a 32-bit number"},
        FailCase{"I16LowestTimesTen", "-327680", "w", "line 1: '-327680' does not fit a 16-bit number"},
        FailCase{"I16TooLarge", "32768", "w", "line 1: '32768' does not fit a 16-bit number"},
        FailCase{"ByteNegative", "-1", "b", "line 1: '-1' does not fit a byte (0 to 255)"},
        FailCase{"ByteTooLarge", "256", "b", "line 1: '256' does not fit a byte (0 to 255)"},
        FailCase{"TextInANumber", "abc", "n", "line 1: 'abc' is not a number"},
        FailCase{"DigitsThenText", "12x", "n", "line 1: '12x' is not a number"},
        FailCase{"SignAlone", "-", "n", "line 1: '-' is not a number"},
        FailCase{"DecimalPoint", "1.5", "n", "line 1: '1.5' is not a number"},
        FailCase{"LineNumberOfTheField", "1\r\n2\nxx", "nnn", "line 3: 'xx' is not a number"},
        FailCase{"TextAfterTheEnd", "[fine]\r\n", "tt", "line 2: a field was expected but the text has ended"},
        FailCase{"NumberAfterTheEnd", "pendenza,  500", "tnn",
                 "line 1: a number was expected but the text has ended"},
        FailCase{"EmptyText", "", "t", "line 1: a field was expected but the text has ended"}),
    [](const testing::TestParamInfo<FailCase>& info) { return std::string(info.param.name); });

TEST(FieldReader, FieldOffsetIsWhereTheFieldBeginsAfterItsBlanks) {
  FieldReader in("  ab,  12  ,cd\r\n  ef");
  in.read_text();
  EXPECT_EQ(in.field_offset(), 2u);
  in.read_i32();
  EXPECT_EQ(in.field_offset(), 7u);
  in.read_text();
  EXPECT_EQ(in.field_offset(), 12u);
  in.read_text();
  EXPECT_EQ(in.field_offset(), 18u);
}

// Offset 3, the LF of the CR LF, still stands on line 1, after the CR: the
// pair ends that line, and a caret there points at its end (never column 0).
TEST(FieldReader, PlaceOfCountsEveryLineEndOnce) {
  std::string text = "ab\r\ncd\nef\rgh";
  struct {
    std::size_t offset, line, column;
  } cases[] = {{0, 1, 1}, {1, 1, 2}, {2, 1, 3}, {3, 1, 4}, {4, 2, 1}, {7, 3, 1}, {10, 4, 1}, {11, 4, 2}, {99, 4, 3}};
  for (const auto& c : cases) {
    TextPlace p = place_of(text, c.offset);
    EXPECT_EQ(p.line, c.line) << c.offset;
    EXPECT_EQ(p.column, c.column) << c.offset;
  }
}

}  // namespace
}  // namespace scenario
