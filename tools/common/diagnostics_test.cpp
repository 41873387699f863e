// Tests of the diagnostic rendering: FILE:LINE, the excerpt and caret, JSON, the order.
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

Diagnostic error_at(SourceId source, std::size_t record, std::size_t field) {
  Diagnostic d;
  d.source = source;
  d.record_offset = record;
  d.field_offset = field;
  d.code = "1";
  d.message = "what is wrong";
  return d;
}

TEST(Render, TextWithExcerptAndCaret) {
  struct Case {
    Diagnostic d;
    const char* text;
  };
  const Case cases[] = {
      {error_at(SourceId::Line, 12, 35),
       "src/R_linea.txt:2: error: what is wrong\n  lunghezza percorso,    96000\n                         ^\n"},
      // Tabs stay tabs under the caret so that it lines up in a terminal.
      {error_at(SourceId::Train, 12, 21), "src/R_T-.txt:2: error: what is wrong\n  \tsabbia,\t40000\n  \t       \t^\n"},
      // The end of the file: after the last character of the last line.
      {error_at(SourceId::Line, 50, 50), "src/R_linea.txt:3: error: what is wrong\n  [fine]\n        ^\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(render_text(c.d, texts()), c.text);

  Diagnostic whole = error_at(SourceId::Line, 0, 0);
  whole.located = false;
  whole.severity = Severity::Warning;
  EXPECT_EQ(render_text(whole, texts()), "src/R_linea.txt: warning: what is wrong\n");

  SourceTexts missing = texts();
  missing.train.reset();
  EXPECT_EQ(render_text(error_at(SourceId::Train, 3, 3), missing), "src/R_T-.txt: error: what is wrong\n")
      << "an absent text has no line to show";
}

TEST(Render, JsonLineEscapesAndGivesTheFieldColumn) {
  Diagnostic d = error_at(SourceId::Line, 12, 35);
  d.message = "say \"x\"\\y";
  EXPECT_EQ(render_json(d, texts()),
            "{\"file\":\"src/R_linea.txt\",\"line\":2,\"column\":24,\"severity\":\"error\",\"code\":\"1\","
            "\"message\":\"say \\\"x\\\"\\\\y\"}\n");
  Diagnostic other_line = error_at(SourceId::Line, 0, 35);  // field on a later line than the record
  EXPECT_NE(render_json(other_line, texts()).find("\"line\":1,\"column\":1,"), std::string::npos);
}

TEST(Render, SortedBySourceThenPositionKeepingNotesAfterTheirError) {
  std::vector<Diagnostic> ds = {error_at(SourceId::Train, 5, 5), error_at(SourceId::Line, 40, 40),
                                error_at(SourceId::Line, 12, 12), error_at(SourceId::Line, 12, 12)};
  ds[3].severity = Severity::Note;
  sort_diagnostics(ds);
  EXPECT_EQ(ds[0].record_offset, 12u);
  EXPECT_EQ(ds[0].severity, Severity::Error);
  EXPECT_EQ(ds[1].severity, Severity::Note);
  EXPECT_EQ(ds[2].record_offset, 40u);
  EXPECT_EQ(ds[3].source, SourceId::Train);
}

}  // namespace
}  // namespace scenario::tool
