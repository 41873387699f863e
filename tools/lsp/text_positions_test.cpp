// Unit tests of the Latin-1 bytes and editor positions: columns in UTF-8, UTF-16 and UTF-32 around "ì" and beyond Latin-1.
#include "lsp/text_positions.h"

#include <gtest/gtest.h>

namespace scenario::tool::lsp {
namespace {

// "città" in UTF-8: the "à" is two bytes in the editor and one in the source.
const std::string kCitta = "citt\xC3\xA0";
// U+1F682 (a locomotive): four UTF-8 bytes, a UTF-16 surrogate pair, no Latin-1 byte.
const std::string kLocomotive = "\xF0\x9F\x9A\x82";

TEST(EditorTextTest, LatinOneCharactersAreOneByteEach) {
  const EditorText t("stazione, 0, PIAN\xC3\x8C" "ELLO");  // "PIANÌELLO": Ì is U+00CC
  EXPECT_EQ(t.latin1(), "stazione, 0, PIAN\xCC" "ELLO");
  EXPECT_TRUE(t.unmappable().empty());
  EXPECT_EQ(latin1_to_utf8(t.latin1()), t.utf8());
}

TEST(EditorTextTest, CharactersBeyondLatinOneAreMarkedWhereTheyStand) {
  const EditorText t("a" + kLocomotive + "b\xE2\x82\xAC");  // U+20AC, the euro sign
  EXPECT_EQ(t.latin1(), "a?b?");
  EXPECT_EQ(t.unmappable(), (std::vector<std::size_t>{1, 3}));
}

TEST(EditorTextTest, BytesThatAreNotUtf8AreMarkedAndCountedOnce) {
  const EditorText t(std::string("x\xFFy\xC3") );  // a lone 0xFF, and a sequence cut at the end
  EXPECT_EQ(t.latin1(), "x?y?");
  EXPECT_EQ(t.unmappable(), (std::vector<std::size_t>{1, 3}));
}

struct ColumnCase {
  std::string name;
  std::string text;
  std::size_t offset;  // in the Latin-1 text
  Position utf8;
  Position utf16;
  Position utf32;
};

class ColumnTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnTest, OffsetAndPositionConvertBothWays) {
  const ColumnCase& c = GetParam();
  const EditorText t(c.text);
  const std::pair<PositionEncoding, Position> expected[] = {
      {PositionEncoding::Utf8, c.utf8}, {PositionEncoding::Utf16, c.utf16}, {PositionEncoding::Utf32, c.utf32}};
  for (const auto& [encoding, p] : expected) {
    EXPECT_EQ(t.position_of(c.offset, encoding), p) << static_cast<int>(encoding);
    EXPECT_EQ(t.offset_of(p, encoding), c.offset) << static_cast<int>(encoding);
  }
}

INSTANTIATE_TEST_SUITE_P(
    AroundAccentsAndLineEnds, ColumnTest,
    ::testing::Values(
        // "ì" (U+00EC): one byte on disk, two in UTF-8, one UTF-16 unit.
        ColumnCase{"BeforeAccent", "Lev\xC3\xAC", 3, {0, 3}, {0, 3}, {0, 3}},
        ColumnCase{"AfterAccent", "Lev\xC3\xAC,5", 4, {0, 5}, {0, 4}, {0, 4}},
        ColumnCase{"TwoAccentsThenField", kCitta + kCitta + ",7", 11, {0, 13}, {0, 11}, {0, 11}},
        // A character outside the basic plane: two UTF-16 units, one Latin-1 byte.
        ColumnCase{"AfterSurrogatePair", "a" + kLocomotive + "b", 2, {0, 5}, {0, 3}, {0, 2}},
        ColumnCase{"SecondLineAfterCrLf", "x\xC3\xAC\r\ny\xC3\xAC" "z", 6, {1, 3}, {1, 2}, {1, 2}},
        ColumnCase{"SecondLineAfterLoneCr", "ab\rc", 4, {1, 1}, {1, 1}, {1, 1}},
        ColumnCase{"ThirdLineAfterLf", "a\n\nb", 3, {2, 0}, {2, 0}, {2, 0}},
        ColumnCase{"EndOfText", "ab\xC3\xAC", 3, {0, 4}, {0, 3}, {0, 3}}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) { return info.param.name; });

TEST(EditorTextTest, PositionsOutsideTheTextStandAtItsEdges) {
  const EditorText t("ab\r\ncd");
  // Past the line's end: the line's end, before its line break.
  EXPECT_EQ(t.offset_of({0, 99}, PositionEncoding::Utf16), 2u);
  // Past the last line: the text's end.
  EXPECT_EQ(t.offset_of({7, 0}, PositionEncoding::Utf16), 6u);
  EXPECT_EQ(t.position_of(99, PositionEncoding::Utf16), (Position{1, 2}));
}

TEST(EditorTextTest, AColumnInsideACharacterStandsBeforeIt) {
  const EditorText t("a" + kLocomotive + "b");
  // Between the two halves of the surrogate pair, and inside the UTF-8 sequence.
  EXPECT_EQ(t.offset_of({0, 2}, PositionEncoding::Utf16), 1u);
  EXPECT_EQ(t.offset_of({0, 3}, PositionEncoding::Utf8), 1u);
}

}  // namespace
}  // namespace scenario::tool::lsp
