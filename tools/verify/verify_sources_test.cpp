// Tests of verify --sources: files held against their sources, naming the first difference and its record.
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

struct SourceEdit {
  const char* name;
  const char* file;
  const char* old;
  const char* now;
  std::string expected;  // the line about the file that differs, after "<dir>/"; empty: all the same
};

std::ostream& operator<<(std::ostream& os, const SourceEdit& c) { return os << c.name; }

const SourceEdit kEdits[] = {
    {"unchanged", "Prova_T1-.txt", "", "", ""},
    {"speed_changed", "Prova_T1-.txt", "velocita,   8000,    60", "velocita,   8000,    70",
     "Prova_T1.dat: differs from the sources: train cell 160 (8000 m), speed limit / 5 (byte 4): the file holds 12, "
     "the sources give 14, written by the speed limit at DIR/Prova_T1-.txt:10:1"},
    {"sign_text_changed", "Prova_linea.txt", "(Galleria)(Prova)", "(Galleria)(Altra)",
     "Prova_T1.sim: differs from the sources: scenario row 80, name: the file holds '(Galleria)(Prova)', the "
     "sources give '(Galleria)(Altra)', written by the indication sign at DIR/Prova_linea.txt:23:1"},
    {"curve_moved", "Prova_linea.txt", "curvad5,  3000,  500", "curvad5,  3050,  500",
     "Prova_linea.dat: differs from the sources: plan point 3001 m, X: the file holds"},
    {"signal_removed", "Prova_T1-.txt", "segnale,    8500", "- segnale,    8500",
     "Prova_T1.dat: differs from the sources: train cell 163 (8150 m), approach mark (byte 2): the file holds 64, "
     "the sources give 0, which nothing in the sources writes"},
};

class VerifySources : public ::testing::TestWithParam<SourceEdit> {};

TEST_P(VerifySources, NamesTheFirstDifferenceAndItsRecord) {
  const SourceEdit& c = GetParam();
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  if (*c.old) spit(tmp.path() / c.file, replaced(slurp(tmp.path() / c.file), c.old, c.now));

  RunResult r = run_tool({"verify", "--sources", tmp.path().string(), tmp.path().string()});
  const std::string dir = tmp.path().string();
  if (c.expected.empty()) {
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(lines_of(r.err).back(), "3 files verified, 0 mismatches, 0 differ from the sources");
    return;
  }
  EXPECT_EQ(r.status, 1) << r.out;
  std::string expected = dir + "/" + c.expected;
  for (std::size_t at = expected.find("DIR"); at != std::string::npos; at = expected.find("DIR")) {
    expected.replace(at, 3, dir);
  }
  EXPECT_NE(r.out.find(expected), std::string::npos) << r.out;
  EXPECT_EQ(lines_of(r.err).back(), "3 files verified, 0 mismatches, 1 differs from the sources");
}

INSTANTIATE_TEST_SUITE_P(Edits, VerifySources, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

// Sources with errors are compared with what the generator writes from them,
// and said to have errors; sources that give no file differ from every file.
TEST(VerifySources, SourcesWithErrors) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  const fs::path train = tmp.path() / "Prova_T1-.txt";
  const std::string good = slurp(train);
  spit(train, replaced(good, "9000", "9010"));
  RunResult r = run_tool({"verify", "--sources", tmp.path().string(), tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(": the sources have errors ('scenario_tool check' lists them)"), std::string::npos) << r.out;
  EXPECT_EQ(lines_of(r.err).back(), "3 files verified, 0 mismatches, 2 differ from the sources");

  // A reduction in cell 1 stops the check codes: the generator writes nothing.
  spit(train, slurp(fixture("guard_1250") / "Prova_T1-.txt"));
  RunResult none = run_tool({"verify", "--sources", tmp.path().string(), tmp.path().string()});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.out.find("compile to no file"), std::string::npos) << none.out;
}

// A plan file longer than the sources give is told by its length, not point by point.
TEST(VerifySources, PlanOfAnotherLength) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  const fs::path line = tmp.path() / "Prova_linea.txt";
  spit(line, replaced(slurp(line), "lunghezza percorso,    20000", "lunghezza percorso,    19000"));
  RunResult r = run_tool({"verify", "--sources", tmp.path().string(), tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find((tmp.path() / "Prova_linea.dat").string() +
                       ": differs from the sources: the file has 27001 plan points, the sources give 26001\n"),
            std::string::npos)
      << r.out;
}

}  // namespace
}  // namespace scenario::tool
