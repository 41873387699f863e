// Tests of the message rendering: FILE:LINE:COLUMN, the cut and escaped excerpt, the caret, JSON, limits, order.
#include "common/diagnostics.h"

#include <gtest/gtest.h>

namespace scenario::tool {
namespace {

SourceTexts texts() {
  SourceTexts t;
  t.line_file = "src/R_linea.txt";
  t.train_file = "src/R_T-.txt";
  t.line = "[generale]\r\nlunghezza percorso,    96000\r\n[fine]\r\n";
  t.train = "[generale]\r\n\tsabbia,\t40000\r\n";
  return t;
}

Message error_at(SourceId source, std::size_t at, std::string name = "1") {
  Message m;
  m.source = source;
  m.at = at;
  m.name = std::move(name);
  m.text = "what is wrong";
  return m;
}

std::string lines_of_first(const std::string& text) { return text.substr(0, text.find('\n')); }

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string text_of(const Message& m, const SourceTexts& t = texts(), RenderOptions o = {}) {
  return render_text({m}, t, o);
}

struct TextCase {
  const char* name;
  Message message;
  const char* text;
};

std::ostream& operator<<(std::ostream& os, const TextCase& c) { return os << c.name; }

class RenderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RenderText, PlaceExcerptAndCaret) { EXPECT_EQ(text_of(GetParam().message), GetParam().text); }

const TextCase kTextCases[] = {
    {"field_on_second_line", error_at(SourceId::Line, 35),
     "src/R_linea.txt:2:24: error: what is wrong\n  lunghezza percorso,    96000\n                         ^\n"},
    // A tab is shown as \t, two columns wide, and the caret counts them.
    {"tab_escaped", error_at(SourceId::Train, 21),
     "src/R_T-.txt:2:10: error: what is wrong\n  \\tsabbia,\\t40000\n             ^\n"},
    // The end of the file: after the last character of the last line.
    {"end_of_file", error_at(SourceId::Line, 50),
     "src/R_linea.txt:3:7: error: what is wrong\n  [fine]\n        ^\n"},
    // A missing field: at the record line's end, before its CR LF.
    {"line_end", error_at(SourceId::Line, 40),
     "src/R_linea.txt:2:29: error: what is wrong\n  lunghezza percorso,    96000\n                              ^\n"},
    {"lf_of_cr_lf", error_at(SourceId::Line, 41),
     "src/R_linea.txt:2:29: error: what is wrong\n  lunghezza percorso,    96000\n                              ^\n"},
};

INSTANTIATE_TEST_SUITE_P(Places, RenderText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderTextWhole, FileAsAWholeAndAbsentText) {
  Message whole = error_at(SourceId::Line, 0);
  whole.at.reset();
  whole.severity = Severity::Warning;
  EXPECT_EQ(text_of(whole), "src/R_linea.txt: warning: what is wrong\n");

  SourceTexts missing = texts();
  missing.train.reset();
  EXPECT_EQ(text_of(error_at(SourceId::Train, 3), missing), "src/R_T-.txt: error: what is wrong\n")
      << "an absent text has no line to show";
}

TEST(RenderTextWhole, VerboseAddsStatusAndPositionWarningsTheirName) {
  Message e = error_at(SourceId::Line, 35, "9");
  e.position = 9000;
  EXPECT_EQ(lines_of_first(text_of(e)), "src/R_linea.txt:2:24: error: what is wrong");
  RenderOptions verbose;
  verbose.verbose = true;
  EXPECT_EQ(lines_of_first(text_of(e, texts(), verbose)),
            "src/R_linea.txt:2:24: error: what is wrong [status 9, position 9000]");

  Message w = error_at(SourceId::Line, 35, "past-end");
  w.severity = Severity::Warning;
  w.warning_name_shown = true;
  EXPECT_EQ(lines_of_first(text_of(w)), "src/R_linea.txt:2:24: warning: what is wrong [-Wpast-end]");
  w.severity = Severity::Error;  // an error by default keeps its plain name
  EXPECT_EQ(lines_of_first(text_of(w)), "src/R_linea.txt:2:24: error: what is wrong [-Wpast-end]");
  w.raised = true;  // a warning that -W options made an error says so
  EXPECT_EQ(lines_of_first(text_of(w)), "src/R_linea.txt:2:24: error: what is wrong [-Werror=past-end]");
}

// Colour marks the severity, the caret and the warning name, and nothing
// else: the source line and the message text stay as they are.
TEST(RenderColour, SeverityCaretAndWarningNameOnly) {
  SourceTexts t = texts();
  t.line = "[generale]\r\nlunghezza, error: 96000\r\n";
  Message w = error_at(SourceId::Line, 23, "past-end");
  w.severity = Severity::Warning;
  w.warning_name_shown = true;
  w.text = "warning: text";
  RenderOptions colour;
  colour.color = true;
  EXPECT_EQ(text_of(w, t, colour),
            "src/R_linea.txt:2:12: \x1b[01;35mwarning:\x1b[m warning: text [\x1b[01;35m-Wpast-end\x1b[m]\n"
            "  lunghezza, error: 96000\n"
            "             \x1b[01;32m^\x1b[m\n");
  Message e = error_at(SourceId::None, 0);
  e.at.reset();
  EXPECT_EQ(text_of(e, t, colour), "scenario_tool: \x1b[01;31merror:\x1b[m what is wrong\n");
  EXPECT_LE(text_of(w, t, colour).size(), bound_of({w}, t, colour));
}

// A long line is cut to a window around the caret, with "…" at each cut.
TEST(RenderExcerpt, LongLineCutAroundTheCaret) {
  const std::string text = std::string(500, 'a') + "X" + std::string(500, 'b') + "\n";
  const Excerpt e = excerpt_at(text, 500);
  EXPECT_EQ(e.line, "\xE2\x80\xA6" + std::string(60, 'a') + "X" + std::string(39, 'b') + "\xE2\x80\xA6");
  EXPECT_EQ(e.caret, std::string(61, ' ') + "^");

  const Excerpt start = excerpt_at(text, 3);
  EXPECT_EQ(start.line, std::string(100, 'a') + "\xE2\x80\xA6");
  EXPECT_EQ(start.caret, "   ^");

  const Excerpt end = excerpt_at(text, 1001);  // after the last character
  EXPECT_EQ(end.line, "\xE2\x80\xA6" + std::string(100, 'b'));
  EXPECT_EQ(end.caret, std::string(101, ' ') + "^");
}

TEST(RenderExcerpt, ControlBytesEscapedAndLatin1Decoded) {
  const std::string text = std::string("stazione, A\x1b[2J\x07\0B, Forl\xEC", 25) + "\r\n";
  const Excerpt e = excerpt_at(text, 20);
  EXPECT_EQ(e.line, "stazione, A\\x1b[2J\\x07\\0B, Forl\xC3\xAC");
  EXPECT_EQ(e.caret, std::string(27, ' ') + "^");
}

TEST(RenderJson, PlaceCodeEscapesAndPosition) {
  Message m = error_at(SourceId::Line, 35, "9");
  m.text = "say \"x\"\\y, Forl\xC3\xAC";
  m.position = 9000;
  EXPECT_EQ(render_json({m}, texts(), {}),
            "{\"file\":\"src/R_linea.txt\",\"line\":2,\"column\":24,\"severity\":\"error\",\"code\":\"9\","
            "\"message\":\"say \\\"x\\\"\\\\y, Forl\xC3\xAC\",\"position\":9000}\n");
  Message whole = m;
  whole.at.reset();
  whole.position.reset();
  EXPECT_NE(render_json({whole}, texts(), {}).find("\"line\":0,\"column\":0,"), std::string::npos);
}

TEST(RenderLimits, AtMostNOfOneNameThenOneLine) {
  std::vector<Message> ms;
  for (int i = 0; i < 30; ++i) ms.push_back(error_at(SourceId::Line, 35, "unknown-keyword"));
  ms.push_back(error_at(SourceId::Line, 12, "9"));
  RenderOptions o;
  o.max_per_name = 3;
  const std::string text = render_text(ms, texts(), o);
  EXPECT_EQ(count_of(text, "what is wrong"), 4u);
  EXPECT_NE(text.find("src/R_linea.txt: note: 27 more like this not shown (--max-diagnostics 0 shows all) "
                      "[unknown-keyword]\n"),
            std::string::npos)
      << text;
  const std::string json = render_json(ms, texts(), o);
  EXPECT_EQ(count_of(json, "\n"), 5u);
  EXPECT_NE(json.find("\"message\":\"27 more like this"), std::string::npos);

  o.max_per_name = 0;
  EXPECT_EQ(count_of(render_text(ms, texts(), o), "what is wrong"), 31u);
}

// However long the source line and the message, the output stays within the stated bound.
TEST(RenderLimits, OutputWithinTheBound) {
  SourceTexts t = texts();
  t.line = std::string(2'000'000, '\x1b');
  std::vector<Message> ms;
  for (int i = 0; i < 100; ++i) {
    Message m = error_at(SourceId::Line, 1'000'000, i % 2 ? "a" : "b");
    m.text = std::string(100'000, 'x');
    ms.push_back(m);
  }
  const RenderOptions o;
  const std::size_t bound = bound_of(ms, t, o);
  EXPECT_LE(bound, 40u * 8192u);
  EXPECT_LE(render_text(ms, t, o).size(), bound);
  EXPECT_LE(render_json(ms, t, o).size(), bound);
}

TEST(RenderOrder, BySourceThenPosition) {
  std::vector<Message> ms = {error_at(SourceId::Train, 5), error_at(SourceId::Line, 40), error_at(SourceId::Line, 12)};
  sort_messages(ms);
  EXPECT_EQ(ms[0].at, 12u);
  EXPECT_EQ(ms[1].at, 40u);
  EXPECT_EQ(ms[2].source, SourceId::Train);
}

TEST(RenderPlace, LineEndsOfEveryKind) {
  const std::string text = "a\r\nb\nc\rd";
  EXPECT_EQ(text_place(text, 1).line, 1u);
  EXPECT_EQ(text_place(text, 2).line, 1u) << "the LF of a CR LF ends the CR's line";
  EXPECT_EQ(text_place(text, 3).line, 2u);
  EXPECT_EQ(text_place(text, 5).line, 3u);
  EXPECT_EQ(text_place(text, 7).line, 4u);
  EXPECT_EQ(text_place(text, 7).column, 1u);
}

}  // namespace
}  // namespace scenario::tool
