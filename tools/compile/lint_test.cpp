// Tests of the lint warnings: one broken rule per case, its name, place and stated effect, checked against the compiled cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "common/binary_files.h"
#include "tool_test_support.h"
#include "compile/lint.h"
#include "compile/message_sink.h"
#include "common/warning_names.h"
#include "compiler/compile.h"

namespace scenario::tool {
namespace {

using namespace testing;

struct LintCase {
  const char* name;     // the warning
  const char* file;     // "Prova_linea.txt" or "Prova_T1-.txt"
  const char* find;     // a line of the good fixture ...
  std::string replace;  // ... and what it becomes
  const char* place;    // "LINE:COLUMN"
  const char* effect;   // the message, or its start
  // Checks the claim against the compiled train cells (may be empty).
  std::function<void(const std::vector<TrainCell>&)> cells = nullptr;
  // For a fact that is also an error: the error's text at the same place,
  // which stands in the warning's stead (one fact, one message).
  const char* told_by_error = nullptr;
};

std::ostream& operator<<(std::ostream& os, const LintCase& c) { return os << c.name; }

class LintWarnings : public ::testing::TestWithParam<LintCase> {};

// The fixture with one line changed, in a folder of its own.
void broken_fixture(const LintCase& c, const fs::path& dir) {
  copy_dir(fixture("ok"), dir);
  std::string text = slurp(dir / c.file);
  const std::size_t at = text.find(c.find);
  ASSERT_NE(at, std::string::npos) << c.find;
  text.replace(at, std::string(c.find).size(), c.replace);
  spit(dir / c.file, text);
}

std::string warning_line(const std::string& err, const std::string& name) {
  for (const std::string& line : lines_of(err)) {
    if (line.find("[-W" + name + "]") != std::string::npos || line.find("[-Werror=" + name + "]") != std::string::npos) {
      return line;
    }
  }
  return "";
}

TEST_P(LintWarnings, NamePlaceAndEffect) {
  const LintCase& c = GetParam();
  TempDir tmp;
  broken_fixture(c, tmp.path());

  RunResult r = run_tool({"compile", "--force", tmp.path().string()});
  const std::string line = warning_line(r.err, c.name);
  if (c.told_by_error != nullptr) {
    EXPECT_EQ(line, "") << "the error already tells it";
    const std::string error = (tmp.path() / c.file).string() + ":" + c.place + ": error: " + c.told_by_error;
    EXPECT_EQ(first_line(r.err), error) << r.err.substr(0, 2000);
    EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings");
    return;
  }
  const std::string where = (tmp.path() / c.file).string() + ":" + c.place + ": warning: ";
  EXPECT_EQ(line.rfind(where + c.effect, 0), 0u) << r.err.substr(0, 2000) << "\nexpected: " << where << c.effect;
  if (!fs::exists(tmp.path() / "Prova_T1.dat")) {
    EXPECT_EQ(std::string(c.name), "long-name") << "only a name too long for the files stops the writing";
    return;
  }
  if (c.cells) c.cells(decode_dat(slurp(tmp.path() / "Prova_T1.dat"), "Prova_T1.dat"));

  // Off, or an error; the compiled bytes never depend on it.
  const std::string dat = slurp(tmp.path() / "Prova_T1.dat");
  RunResult off = run_tool({"compile", "--force", std::string("-Wno-") + c.name, tmp.path().string()});
  EXPECT_EQ(warning_line(off.err, c.name), "");
  EXPECT_TRUE(slurp(tmp.path() / "Prova_T1.dat") == dat);
  RunResult error = run_tool({"check", std::string("-Werror=") + c.name, tmp.path().string()});
  EXPECT_EQ(error.status, 1);
  EXPECT_NE(warning_line(error.err, c.name).find(": error: "), std::string::npos) << error.err;
}

int gradient(const std::vector<TrainCell>& cells, int c) { return cells.at(static_cast<std::size_t>(c)).Byte5 - 100; }
int speed(const std::vector<TrainCell>& cells, int c) { return cells.at(static_cast<std::size_t>(c)).Byte4 * 5; }

const LintCase kCases[] = {
    {"unordered-gradient", "Prova_linea.txt", "pendenza,  6000,   -5", "pendenza,  6000,   -5\r\npendenza,  4000,   2",
     "18:12",
     "gradient records must ascend: this one at 4000 m follows one at 6000 m, so 2 \u2030 holds only from 6050 m; "
     "before that the cells read 3 \u2030 (4000\u20136000 m), -5 \u2030 (6000\u20136050 m) [-Wunordered-gradient]",
     [](const std::vector<TrainCell>& cells) {
       EXPECT_EQ(gradient(cells, 80), 3);
       EXPECT_EQ(gradient(cells, 119), 3);
       EXPECT_EQ(gradient(cells, 120), -5);
       EXPECT_EQ(gradient(cells, 121), 2);
     }},
    {"unordered-curve", "Prova_linea.txt", "curvad5,  3000,  500", "curvad5,  3000,  500\r\ncurvas3,  1000,  300",
     "13:11",
     "curves must ascend: this one starts at 1000 m, behind the point the plan has reached (3500 m), so it draws "
     "nothing: the plan has already reached 3500 m [-Wunordered-curve]"},
    {"overlapping-curve", "Prova_linea.txt", "curvad5,  3000,  500", "curvad5,  3000,  500\r\ncurvas3,  3200,  600",
     "13:11",
     "curves must not overlap: this one starts at 3200 m, behind the point the plan has reached (3500 m), so it has "
     "no straight part and turns from 3500 m to 3800 m instead of from 3200 m [-Woverlapping-curve]"},
    {"overlapping-range", "Prova_linea.txt", "montagna,   2000,  3000,  11",
     "montagna,   2000,  3000,  11\r\nmontagna,   2500,  3500,  1", "20:13",
     "this montagna range (2500\u20133500 m) overlaps an earlier one (2000\u20133000 m): from 2500 m to 3000 m the cells "
     "take this range's type (3), not the earlier one's [-Woverlapping-range]",
     [](const std::vector<TrainCell>& cells) {
       // It starts less than 150 m after the earlier range's end, so it becomes type 3.
       EXPECT_EQ(cells.at(50).Byte3, 3);
       EXPECT_EQ(cells.at(59).Byte3, 3);
       EXPECT_EQ(cells.at(49).Byte3, 1) << "the earlier range's own type, 11 less 10";
     }},
    {"unordered-sign", "Prova_linea.txt", "cartello_indicatore,  1950,   (Galleria)(Prova)",
     "cartello_indicatore,  1950,   (Galleria)(Prova)\r\ncartello_indicatore,  1000,   (Galleria)(Altra)", "24:23",
     "the sign at 1000 m comes after one at 1950 m in the file: signs take scenario rows in file order, so it gets "
     "row 79, below the row of a sign that stands further along the route [-Wunordered-sign]",
     [](const std::vector<TrainCell>& cells) { EXPECT_EQ(cells.at(21).Word1, 79); }},
    {"rounded-position", "Prova_linea.txt", "cartello_indicatore,  1950,", "cartello_indicatore,  1980,", "23:23",
     "1980 m is no multiple of 50: the compiler rounds it (halves to even) and the sign goes to cell 41 "
     "(2050\u20132100 m), not to cell 40 where 1980 m lies plus one [-Wrounded-position]",
     [](const std::vector<TrainCell>& cells) { EXPECT_EQ(cells.at(41).Kind, kind::kSign); }},
    {"steep-gradient", "Prova_linea.txt", "pendenza,  6000,   -5", "pendenza,  6000,   -75", "17:20",
     "-75 \u2030 is steeper than 60 \u2030, which adhesion railways rarely exceed; it is compiled as written "
     "[-Wsteep-gradient]",
     [](const std::vector<TrainCell>& cells) { EXPECT_EQ(gradient(cells, 130), -75); }},
    {"profile-start", "Prova_T1-.txt", "aderenza,   0,    100", "aderenza,   500,    100", "7:13",
     "the first of the adhesion rows is at 500 m, not 0: the cells before it read adhesion 0 [-Wprofile-start]",
     [](const std::vector<TrainCell>& cells) {
       EXPECT_EQ(cells.at(9).Byte6, 0);
       EXPECT_EQ(cells.at(10).Byte6, 100);
     }},
    {"unordered-speed", "Prova_T1-.txt", "velocita,   8000,    60", "velocita,   8000,    60\r\nvelocita,   5000,    40",
     "11:13",
     "speed limit rows must ascend: this one at 5000 m follows one at 8000 m, so 40 km/h holds only from 8050 m; "
     "before that the cells read 80 km/h (5000\u20138000 m), 60 km/h (8000\u20138050 m) [-Wunordered-speed]",
     [](const std::vector<TrainCell>& cells) {
       EXPECT_EQ(speed(cells, 100), 80);
       EXPECT_EQ(speed(cells, 160), 60);
       EXPECT_EQ(speed(cells, 161), 40);
     }},
    {"unordered-adhesion", "Prova_T1-.txt", "aderenza,   0,    100",
     "aderenza,   0,    100\r\naderenza,   6000,    80\r\naderenza,   3000,    90", "9:13",
     "adhesion rows must ascend: this one at 3000 m follows one at 6000 m, so adhesion 90 holds only from 6050 m; "
     "before that the cells read adhesion 100 (3000\u20136000 m), adhesion 80 (6000\u20136050 m) [-Wunordered-adhesion]",
     [](const std::vector<TrainCell>& cells) { EXPECT_EQ(cells.at(121).Byte6, 90); }},
    {"zero-speed", "Prova_T1-.txt", "velocita,   8000,    60", "velocita,   8000,    0", "10:22",
     "the speed limit from 8000 m will be 0 km/h, up to the next row [-Wzero-speed]",
     [](const std::vector<TrainCell>& cells) { EXPECT_EQ(speed(cells, 200), 0); }},
    {"backwards-time", "Prova_T1-.txt", "   8,15, 0, SECONDA", "   8, 5, 0, SECONDA", "13:64",
     "the timetable runs backwards: this station's time 08:05:00 is before the previous station's 08:07:00; it is "
     "compiled as written [-Wbackwards-time]"},
    {"unordered-signal", "Prova_T1-.txt", "segnale,    8500,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
     "segnale,    8500,   2, 4, 1,  0, 0,    0,  0,0,0, 0\r\nsegnale,    2000,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
     "19:13",
     "the signal at 2000 m comes after one at 8500 m in the file; signals are placed by position, so it compiles "
     "the same, but the file no longer reads along the route [-Wunordered-signal]",
     [](const std::vector<TrainCell>& cells) { EXPECT_EQ(cells.at(41).Kind, kind::kSignal); }},
    {"unordered-slow-order", "Prova_T1-.txt", "[rallentamenti]",
     "[rallentamenti]\r\nrallentamento,   15000,   60,   500,   0,   0,   0\r\n"
     "rallentamento,   13000,   60,   500,   0,   0,   0",
     "17:18",
     "the slow order at 13000 m comes after one at 15000 m in the file; slow orders are placed by position, so it "
     "compiles the same, but the file no longer reads along the route [-Wunordered-slow-order]"},
    {"empty-curve", "Prova_linea.txt", "curvad5,  3000,  500", "curvad5,  3000,  0", "12:18",
     "this curve is 0 m long, so it draws no curved point: the plan runs straight on from 3000 m [-Wempty-curve]"},
    {"unordered-station", "Prova_T1-.txt", "   8,15, 0, SECONDA\r\n",
     "   8,15, 0, SECONDA\r\nstazione,    5000, 12,  300,  1, 0, 0,  4,1,0,  2,1,1,   30,   8,20, 0, TERZA\r\n",
     "14:14",
     "the station at 5000 m comes after one at 9000 m in the file: stations take rows in file order along the "
     "route, and this one's zone cannot start 350 m after the previous zone's end [-Wunordered-station]",
     nullptr,
     "the station zone at 5000 m (the station's position, field 1) starts 4300 m before the previous zone ends; at "
     "least 350 m are needed (this zone runs from 4850 to 5150 m, the zone of SECONDA ends at 9150 m)"},
    {"long-name", "Prova_T1-.txt", "SECONDA", std::string(70000, 'S'), "13:73",
     "a station name of 70000 bytes does not fit its 16-bit length (65535 bytes): the files cannot be written "
     "[-Wlong-name]",
     nullptr,
     "the station's name, field 17, is 70000 bytes long; a text holds at most 65535 bytes, so the files cannot be "
     "written"},
};

INSTANTIATE_TEST_SUITE_P(OneRulePerCase, LintWarnings, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n) ch = ch == '-' ? '_' : ch;
  return n;
});

// Every warning the cases show is registered, and every registered lint
// warning has a case; the built-in sources give none.
TEST(LintWarnings, RegistryAndTheBuiltInSources) {
  for (const LintCase& c : kCases) EXPECT_TRUE(is_warning_name(c.name)) << c.name;
  // Source warnings, each with its own table of cases.
  const std::set<std::string> other = {"unknown-keyword", "after-end",    "unread-last",  "past-end",   "not-text",
                                       "utf8-text",       "other-source", "comment-read", "no-general", "empty-general",
                                       "overwritten",     "no-effect",    "keyword-side"};
  for (const WarningName& w : warning_names()) {
    if (other.count(std::string(w.name))) continue;
    EXPECT_TRUE(std::any_of(std::begin(kCases), std::end(kCases), [&](const LintCase& c) { return c.name == w.name; }))
        << w.name << " has no case";
  }
  TempDir tmp;
  ASSERT_EQ(run_tool({"init", tmp.path().string()}).status, 0);
  RunResult r = run_tool({"check", "--werror", tmp.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_of(r.err).back(), "0 errors, 0 warnings");
}

TEST(LintWarnings, UnknownWarningNamesAreUsageErrors) {
  RunResult r = run_tool({"check", "-Wno-unordered-gradeint", "."});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "scenario_tool: error: unknown warning 'unordered-gradeint' in '-Wno-unordered-gradeint'; "
                   "'scenario_tool help warnings' lists them; did you mean 'unordered-gradient'?\n");
  RunResult help = run_tool({"help", "warnings"});
  EXPECT_EQ(help.status, 0);
  for (const WarningName& w : warning_names()) EXPECT_NE(help.out.find("  " + std::string(w.name) + " "), std::string::npos);
}

// The gradient and curve rules at their boundaries, on a line source
// compiled in memory: each case lists every steep-gradient and curve warning
// as "name at 'FIELD': text", the field being the one the caret points at.
struct LintEdgeCase {
  const char* name;
  std::string body;  // records of the line source after [curve]
  std::vector<std::string> warnings;
};

std::ostream& operator<<(std::ostream& os, const LintEdgeCase& c) { return os << c.name; }

class LintEdges : public ::testing::TestWithParam<LintEdgeCase> {};

TEST_P(LintEdges, WarnsExactlyPastTheBoundary) {
  const LintEdgeCase& c = GetParam();
  const std::string line = "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n" + c.body + "[fine]\r\n";
  const std::string train = "[generale]\r\n[fine]\r\n";
  SourceFiles sources = SourceFiles::in_memory(line, train);
  const CompileResult r =
      compile(ScenarioNames{"Prova", "T1"}, scenario::CompileOptions{.line_plan = true, .account = true}, sources);
  ASSERT_EQ(r.report.StatusCode, 0);
  const SourceTexts texts{"Prova_linea.txt", "Prova_T1-.txt", line, train};
  const WarningSettings settings;
  MessageSink sink(settings, 0);
  lint_warnings(records_read(r, texts), r, sink);
  std::vector<std::string> got;
  for (const Message& m : sink.take_sorted()) {
    if (m.name != "steep-gradient" && m.name != "overlapping-curve" && m.name != "unordered-curve") continue;
    const std::string from = line.substr(m.at.value_or(line.size()));
    got.push_back(m.name + " at '" + from.substr(0, from.find_first_of(",\r")) + "': " + m.text);
  }
  EXPECT_EQ(got, c.warnings);
}

const std::string kSteeper =
    " \u2030 is steeper than 60 \u2030, which adhesion railways rarely exceed; it is compiled as written";
const std::string kNoFit = " \u2030 does not fit the cells' byte (\u2212100 to 155 \u2030): the cells will read ";

const LintEdgeCase kEdgeCases[] = {
    {"Gradient60", "pendenza, 0, 60\r\n", {}},
    {"Gradient61", "pendenza, 0, 61\r\n", {"steep-gradient at '61': 61" + kSteeper}},
    {"GradientMinus60", "pendenza, 0, -60\r\n", {}},
    {"GradientMinus61", "pendenza, 0, -61\r\n", {"steep-gradient at '-61': -61" + kSteeper}},
    // The cells' byte holds the gradient plus 100: -100 to 155 fit.
    {"Gradient155", "pendenza, 0, 155\r\n", {"steep-gradient at '155': 155" + kSteeper}},
    {"Gradient156", "pendenza, 0, 156\r\n", {"steep-gradient at '156': 156" + kNoFit + "-100 \u2030"}},
    {"GradientMinus100", "pendenza, 0, -100\r\n", {"steep-gradient at '-100': -100" + kSteeper}},
    {"GradientMinus101", "pendenza, 0, -101\r\n", {"steep-gradient at '-101': -101" + kNoFit + "155 \u2030"}},
    // The first curve draws the plan to 3500 m: a curve may start right there.
    {"CurveFromWhereThePlanStands", "curvad5, 3000, 500\r\ncurvas3, 3500, 300\r\n", {}},
    {"CurveOneMetreBehind", "curvad5, 3000, 500\r\ncurvas3, 3499, 300\r\n",
     {"overlapping-curve at '3499': curves must not overlap: this one starts at 3499 m, behind the point the plan has "
      "reached (3500 m), so it has no straight part and turns from 3500 m to 3799 m instead of from 3499 m"}},
};

INSTANTIATE_TEST_SUITE_P(Boundaries, LintEdges, ::testing::ValuesIn(kEdgeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario::tool
