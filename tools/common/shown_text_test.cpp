// Tests of showing 8-bit text: Latin-1 decoding, escapes, UTF-8 detection, JSON and XML forms.
#include "common/shown_text.h"

#include <gtest/gtest.h>

#include "common/json.h"

namespace scenario::tool {
namespace {

struct ShownCase {
  const char* name;
  std::string bytes;
  std::string latin1;  // shown()
  std::string utf8;    // shown_utf8()
};

std::ostream& operator<<(std::ostream& os, const ShownCase& c) { return os << c.name; }

class Shown : public ::testing::TestWithParam<ShownCase> {};

TEST_P(Shown, Latin1AndUtf8Readings) {
  EXPECT_EQ(shown(GetParam().bytes), GetParam().latin1);
  EXPECT_EQ(shown_utf8(GetParam().bytes), GetParam().utf8);
}

const ShownCase kShownCases[] = {
    {"ascii", "Forli, 12", "Forli, 12", "Forli, 12"},
    {"latin1_letter", "Forl\xEC", "Forl\xC3\xAC", "Forl\xC3\xAC"},
    {"utf8_letter", "Forl\xC3\xAC", "Forl\xC3\x83\xC2\xAC", "Forl\xC3\xAC"},
    {"controls", std::string("a\x1b[31m\x07\0\t\r\n\x7f", 12), "a\\x1b[31m\\x07\\0\\t\\r\\n\\x7f",
     "a\\x1b[31m\\x07\\0\\t\\r\\n\\x7f"},
    // C1 controls (0x80-0x9F) act on some terminals: escaped in both readings.
    {"c1_controls", "\x9b" "2J \xC2\x9B", "\\x9b2J \xC3\x82\\x9b", "\\x9b2J \\xc2\\x9b"},
    // U+009F is the last C1 control; U+00A0 (no-break space) is text.
    {"c1_edges_in_utf8", "\xC2\x9F|\xC2\xA0", "\xC3\x82\\x9f|\xC3\x82\xC2\xA0", "\\xc2\\x9f|\xC2\xA0"},
    {"overlong_is_not_utf8", "\xC0\xAF", "\xC3\x80\xC2\xAF", "\xC3\x80\xC2\xAF"},
};

INSTANTIATE_TEST_SUITE_P(Texts, Shown, ::testing::ValuesIn(kShownCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShownText, QuotesCutLongTexts) {
  EXPECT_EQ(in_quotes("Forl\xEC"), "'Forl\xC3\xAC'");
  EXPECT_EQ(in_quotes(std::string(200'000, 'A'), 5), "'AAAAA\xE2\x80\xA6'");
}

TEST(ShownText, FirstUtf8Sequence) {
  EXPECT_EQ(first_utf8_sequence("Forl\xEC, Cesena"), std::nullopt);
  EXPECT_EQ(first_utf8_sequence("Forl\xC3\xAC"), 4u);
  EXPECT_EQ(first_utf8_sequence("\xE2\x82"), std::nullopt) << "a cut sequence is not UTF-8";
  EXPECT_EQ(first_utf8_sequence("x\xE2\x82\xAC"), 1u);
  EXPECT_EQ(first_utf8_sequence("\xED\xA0\x80"), std::nullopt) << "a surrogate is not UTF-8";
}

// Every byte below 0x20 and from 0x7f (DEL) up is escaped; the printable
// bytes between stand as they are.
TEST(JsonString, EscapesControlsAndDelAndHighBytes) {
  EXPECT_EQ(json_string(std::string("\x1f \x7e\x7f\x80\xff", 6)), "\"\\u001f ~\\u007f\\u0080\\u00ff\"");
  EXPECT_EQ(json_string("a\"\\\n\r\t"), "\"a\\\"\\\\\\n\\r\\t\"");
}

TEST(ShownText, JsonAndXmlForms) {
  EXPECT_EQ(json_display_string(std::string("a\"\\\x1b\n\xC3\xAC", 7)), "\"a\\\"\\\\\\u001b\\u000a\xC3\xAC\"");
  EXPECT_EQ(xml_text(std::string("<a & 'b'>\x1b\0Forl\xEC", 16)), "&lt;a &amp; &apos;b&apos;&gt;\\x1b\\0Forl\xC3\xAC");
}

}  // namespace
}  // namespace scenario::tool
