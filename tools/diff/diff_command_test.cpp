// diff: a record moved, a record added, and two compiles of the same sources.
#include "diff/diff_command.h"

#include <gtest/gtest.h>

#include "tool_test_support.h"
#include "compiler/compile.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/source_files.h"

namespace scenario::tool {
namespace {

using testing::builtin_names;
using testing::replaced;
using testing::run_tool;
using testing::RunResult;
using testing::spit;
using testing::TempDir;

BinaryFiles compiled(const std::string& line, const std::string& train) {
  SourceFiles sources = SourceFiles::in_memory(line, train);
  CompileResult r = compile(builtin_names(), scenario::CompileOptions{}, sources);
  EXPECT_EQ(r.report.StatusCode, 0);
  return serialise_all(r);
}

const std::string& line_text() {
  static const std::string t = render_lines(righe_linea());
  return t;
}
const std::string& train_text() {
  static const std::string t = render_lines(righe_treno());
  return t;
}

struct DiffCase {
  const char* name;
  std::string line;
  std::string train;
  std::vector<std::string> expected;  // each change as "what|source|new text holds"
};

std::vector<DiffCase> cases() {
  return {
      {"same_sources_twice", line_text(), train_text(), {}},
      {"signal_moved", line_text(),
       replaced(train_text(), "segnale,   10700,", "segnale,   10600,"), {"moved|train|10600"}},
      {"slow_order_added", line_text(),
       replaced(train_text(), "[rallentamenti]\r\n", "[rallentamenti]\r\nrallentamento,  60000,  30,  500,  0,  1,  0\r\n"),
       {"added|train|60000"}},
      {"gradient_changed", replaced(line_text(), "pendenza,  750,   5", "pendenza,  750,   6"), train_text(),
       {"changed|line|750"}},
  };
}

class DiffRecords : public ::testing::TestWithParam<DiffCase> {};

TEST_P(DiffRecords, NamesEachChangeInSourceTerms) {
  const DiffCase& c = GetParam();
  const std::vector<Change> got = differenze_tra(compiled(line_text(), train_text()), compiled(c.line, c.train));
  ASSERT_EQ(got.size(), c.expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    const std::string& e = c.expected[i];
    const std::size_t a = e.find('|'), b = e.find('|', a + 1);
    EXPECT_EQ(got[i].what, e.substr(0, a));
    EXPECT_EQ(got[i].source, e.substr(a + 1, b - a - 1));
    EXPECT_NE(got[i].new_text.find(e.substr(b + 1)), std::string::npos) << got[i].new_text;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DiffRecords, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Diff, CellsInRunsWhenAFileCannotBeRebuilt) {
  const BinaryFiles before = compiled(line_text(), train_text());
  BinaryFiles after = before;
  for (std::size_t c = 600; c <= 602; ++c) after.dat[15 * c] = 9;  // no kind the compiler writes
  const std::vector<Change> got = differenze_tra(before, after);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].what, "cells");
  EXPECT_EQ(got[0].old_text, "600");
  EXPECT_EQ(got[0].new_text, "602");
}

TEST(Diff, ExitStatusAndJson) {
  TempDir a, b;
  const BinaryFiles files = compiled(line_text(), train_text());
  for (const TempDir* d : {&a, &b}) {
    write_all(files, d->path(), builtin_names());
  }
  RunResult same = run_tool({"diff", a.path().string(), b.path().string()});
  EXPECT_EQ(same.status, 0) << same.err;
  const BinaryFiles moved = compiled(line_text(), replaced(train_text(), "segnale,   10700,", "segnale,   10600,"));
  write_all(moved, b.path(), builtin_names());
  RunResult differ = run_tool({"diff", "--diagnostics=json", a.path().string(), b.path().string()});
  EXPECT_EQ(differ.status, 1) << differ.err;
  EXPECT_NE(differ.out.find("\"equal\":false"), std::string::npos) << differ.out;
  EXPECT_NE(differ.out.find("\"change\":\"moved\""), std::string::npos) << differ.out;
  RunResult sarif = run_tool({"diff", "--diagnostics=sarif", a.path().string(), b.path().string()});
  EXPECT_EQ(sarif.status, 1) << sarif.err;
  EXPECT_NE(sarif.out.find("\"ruleId\":\"moved\",\"level\":\"note\""), std::string::npos) << sarif.out;
  EXPECT_NE(sarif.out.find("train: moved: segnale"), std::string::npos) << sarif.out;
  RunResult text = run_tool({"diff", "--color=always", a.path().string(), b.path().string()});
  EXPECT_EQ(text.status, 1) << text.err;
  EXPECT_EQ(text.out.rfind("train: moved: segnale", 0), 0u) << text.out;
}

}  // namespace
}  // namespace scenario::tool
