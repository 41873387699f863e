// Tests of the compile command: identity with the generator, errors per status code, warnings, options.
#include <gtest/gtest.h>

#include <string>

#include "compiler/memorizza_percorso.h"
#include "model/source_files.h"
#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

const char* const kBinaryFiles[] = {"Castrovelde_Ardis_linea.dat", "Castrovelde_Ardis_R31708.sim",
                                    "Castrovelde_Ardis_R31708.dat"};

TEST(CompileBuiltIn, FilesAreByteIdenticalToTheGenerators) {
  TempDir src;
  write_builtin_sources(src.path());
  const auto sources = snapshot(src.path());

  RunResult r = run_tool({"compile", src.path().string()});

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "compiled Castrovelde_Ardis / R31708: route 96000 m, 2061 cells, 18 stations, 23 signals, "
                   "16 signs; wrote 3 files to " + src.path().string() + "\n");
  EXPECT_EQ(r.err, "0 errors, 0 warnings\n");
  for (const char* name : kBinaryFiles) {
    const std::string expected = slurp(generator_output() / name);
    ASSERT_FALSE(expected.empty()) << name;
    EXPECT_TRUE(slurp(src.path() / name) == expected) << name << " differs from the generator's";
  }
  for (const auto& [name, bytes] : sources) EXPECT_EQ(slurp(src.path() / name), bytes) << name << " changed";
}

TEST(CompileBuiltIn, OutputDirectoryAndNoLine) {
  TempDir src, out;
  write_builtin_sources(src.path());

  RunResult r = run_tool({"compile", "--no-line", "-o", out.path().string(), src.path().string()});

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(snapshot(src.path()).size(), 2u) << "nothing is written beside the sources";
  EXPECT_FALSE(fs::exists(out.path() / kBinaryFiles[0])) << "--no-line writes no line plan";
  // The scenario and train files do not depend on the line plan.
  EXPECT_TRUE(slurp(out.path() / kBinaryFiles[1]) == slurp(generator_output() / kBinaryFiles[1]));
  EXPECT_TRUE(slurp(out.path() / kBinaryFiles[2]) == slurp(generator_output() / kBinaryFiles[2]));
}

// One broken source per status code the passes can set, and the stamp guard.
struct BrokenSource {
  const char* dir;
  const char* file;  // the source text the error points into
  int line;          // 0: the file as a whole
  int column;
  const char* code;
  int position;  // the status position (ignored for the guard codes)
  std::string message;
};

std::ostream& operator<<(std::ostream& os, const BrokenSource& c) { return os << c.dir; }

class BrokenSources : public ::testing::TestWithParam<BrokenSource> {};

bool is_guard(const BrokenSource& c) { return std::string(c.code).size() == 4; }

std::string expected_first_line(const BrokenSource& c, const fs::path& dir) {
  std::string where = (dir / c.file).string();
  if (c.line > 0) where += ":" + std::to_string(c.line) + ":" + std::to_string(c.column);
  return where + ": error: " + c.message;
}

bool source_missing(const BrokenSource& c) {
  const std::string dir_name = c.dir;
  return dir_name == "code_101" || dir_name == "code_25_no_train";
}

std::vector<std::string> args_for(const BrokenSource& c, const fs::path& dir, std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"compile"};
  const std::string dir_name = c.dir;
  if (dir_name == "code_101" || dir_name == "code_25_no_train") args.insert(args.end(), {"--route", "Prova", "--train", "T1"});
  // Its 76 signs, written to fill the rows, do not stand in route order.
  if (dir_name == "code_10") args.push_back("-Wno-unordered-sign");
  args.insert(args.end(), extra.begin(), extra.end());
  args.push_back(dir.string());
  return args;
}

TEST_P(BrokenSources, ErrorNamesTheRecordAndNothingIsWritten) {
  const BrokenSource& c = GetParam();
  TempDir tmp;
  const fs::path dir = tmp.path() / c.dir;
  copy_dir(fixture(c.dir), dir);
  const auto before = snapshot(dir);

  RunResult r = run_tool(args_for(c, dir));

  EXPECT_EQ(r.status, source_missing(c) ? 2 : 1) << "a source that cannot be found exits 2";
  EXPECT_EQ(first_line(r.err), expected_first_line(c, dir));
  EXPECT_NE(r.err.find("no binary file written"), std::string::npos) << r.err;
  EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings") << r.err;
  EXPECT_EQ(snapshot(dir), before) << "a binary file was written or a source changed";
}

TEST_P(BrokenSources, JsonCarriesCodeAndLine) {
  const BrokenSource& c = GetParam();
  TempDir tmp;
  const fs::path dir = tmp.path() / c.dir;
  copy_dir(fixture(c.dir), dir);

  RunResult r = run_tool(args_for(c, dir, {"--diagnostics=json"}));

  EXPECT_EQ(r.status, source_missing(c) ? 2 : 1);
  const std::string json = first_line(r.out);
  EXPECT_EQ(json.rfind("{\"file\":\"" + (dir / c.file).string() + "\",\"line\":" + std::to_string(c.line) + ",", 0),
            0u)
      << json;
  EXPECT_NE(json.find("\"line\":" + std::to_string(c.line) + ",\"column\":" + std::to_string(c.column) + ","),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"severity\":\"error\",\"code\":\"" + std::string(c.code) + "\""), std::string::npos) << json;
  if (!is_guard(c)) {
    EXPECT_NE(json.find(",\"position\":" + std::to_string(c.position) + "}"), std::string::npos) << json;
  }
}

// The status code and position stay out of the default text; -v shows them.
TEST_P(BrokenSources, VerboseAddsCodeAndPosition) {
  const BrokenSource& c = GetParam();
  TempDir tmp;
  const fs::path dir = tmp.path() / c.dir;
  copy_dir(fixture(c.dir), dir);

  const std::string plain = first_line(run_tool(args_for(c, dir)).err);
  const std::string verbose = first_line(run_tool(args_for(c, dir, {"-v"})).err);

  EXPECT_EQ(plain.find("[status"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("runtime failure"), std::string::npos) << plain;
  EXPECT_EQ(verbose, expected_first_line(c, dir) + (is_guard(c) ? " [" + std::string(c.code) + "]"
                                                                 : " [status " + std::string(c.code) + ", position " +
                                                                       std::to_string(c.position) + "]"));
}

const BrokenSource kBrokenSources[] = {
    {"code_1", "Prova_linea.txt", 2, 24, "1", 0,
     "the route's length, field 1, is 2000000 m; a route is at most 1000000 m long"},
    {"code_2", "Prova_linea.txt", 4, 34, "2", 0,
     "the chainage change's position, field 1, is 5025 m, which is not a multiple of 50"},
    {"code_3", "Prova_linea.txt", 9, 34, "3", 0,
     "the signal repetition's start, field 1, is 25 m, which is not a multiple of 50"},
    {"code_4", "Prova_linea.txt", 9, 40, "4", 0,
     "the signal repetition's end, field 2, is 30 m, which is not a multiple of 50"},
    {"code_5", "Prova_linea.txt", 9, 1, "5", 0,
     "the signal repetition keyword 'ripetizione segnali codici' names neither 4 nor 9 codes; write it as "
     "'ripetizione segnali 4 codici' or with a 9"},
    {"code_6", "Prova_linea.txt", 24, 23, "6", 550,
     "the indication sign at 550 m (the sign's position, field 1) goes to cell 12 (600 m), which already "
     "holds a speed indicator board; it needs a cell that is empty or holds only a montagna marker"},
    {"code_7", "Prova_T1-.txt", 16, 16, "7", 600,
     "the speed reduction at 600 m (the reduction's position, field 1) goes to cell 12 (600 m), which "
     "already holds a speed indicator board; it needs a cell that is empty or holds only a montagna marker"},
    {"code_8", "Prova_T1-.txt", 13, 14, "8", 9025,
     "the station's position, field 1, is 9025 m, which is not a multiple of 50"},
    {"code_9", "Prova_T1-.txt", 13, 25, "9", 9000,
     "the station's length, field 3, is 350 m, which is not a multiple of 100"},
    {"code_10", "Prova_T1-.txt", 14, 1, "10", 0,
     "too many stations: the line source's 76 indication signs take rows 5 to 80 of the scenario table, "
     "which leaves room for 2 stations; this is station 3"},
    {"code_11", "Prova_T1-.txt", 18, 14, "11", 500,
     "the two cells before this signal (the signal's position, field 1) in cell 10 (500 m) hold no free "
     "cell or speed mark for the automatic speed mark that a signal within 1000 m behind a slow-order "
     "warning needs"},
    {"code_13", "Prova_T1-.txt", 16, 17, "13", 2450,
     "there is no free cell for an automatic speed mark inside or just after this slow order (the slow "
     "order's start, field 1), near cell 49 (2450 m)"},
    {"code_12", "Prova_T1-.txt", 16, 17, "12", 1050,
     "one of the three windows of cells before this slow order's start (the slow order's start, field 1), "
     "in cell 21 (1050 m), has no free cell for its automatic speed mark"},
    {"code_15_line", "Prova_linea.txt", 17, 12, "15", 4000,
     "the gradient at 30000 m (the gradient's position, field 1) lies beyond the train cells: the route "
     "is 20000 m long, the cells reach 27000 m, and a gradient may stand at 26900 m at most; the compiler "
     "reads nothing after it"},
    {"code_15_train", "Prova_T1-.txt", 14, 13, "15", 26800,
     "the station at 26800 m (the station's position, field 1) lies beyond the train cells: the route is "
     "20000 m long, the cells reach 27000 m, and a station may stand at 26200 m at most; the compiler "
     "reads nothing after it"},
    {"code_16", "Prova_T1-.txt", 17, 14, "16", 550,
     "the signal at 550 m (the signal's position, field 1) goes to cell 12 (600 m), which already holds a "
     "speed indicator board; it needs a cell that is empty or holds only a montagna marker"},
    {"code_17", "Prova_T1-.txt", 16, 17, "17", 1750,
     "the slow order at 1750 m: its warning point, 1200 m before its start, falls in cell 12 (600 m), "
     "which already holds a speed indicator board; it needs a cell that is empty or holds only a montagna "
     "marker"},
    {"code_18", "Prova_T1-.txt", 16, 17, "18", 550,
     "the slow order at 550 m: its start falls in cell 12 (600 m), which already holds a speed indicator "
     "board; it needs a cell that is empty or holds only a montagna marker"},
    {"code_19", "Prova_T1-.txt", 16, 28, "19", 100,
     "the slow order at 100 m: its end (the slow order's length, field 3) falls in cell 12 (600 m), which "
     "already holds a speed indicator board; it needs a cell that is empty or holds only a montagna marker"},
    {"code_20", "Prova_T1-.txt", 16, 17, "20", 1850,
     "the slow order at 1850 m: one of the four approach cells before its warning point falls in cell 12 "
     "(600 m), which already holds a speed indicator board; it needs a cell that is empty or holds only a "
     "montagna marker"},
    {"code_21", "Prova_linea.txt", 22, 19, "21", 550,
     "the speed indicator board at 550 m (the board's position, field 1) goes to cell 12 (600 m), which "
     "already holds a speed indicator board; it needs a cell that is empty or holds only a montagna marker"},
    {"code_22", "Prova_T1-.txt", 13, 15, "22", 650,
     "the station zone at 650 m (the station's position, field 1) starts 250 m after the previous zone "
     "ends; at least 350 m are needed (this zone runs from 500 to 800 m, the zone of PRIMA ends at 250 m)"},
    {"code_24", "Prova_T1-.txt", 12, 17, "24", 0,
     "the station zone ends at 100 m (from the station's position, field 1, and the station's length, "
     "field 3), which puts its stopping point in cell 1 (50 m); stopping points must fall in cell 2 or "
     "later, so the zone must end at 150 m or later"},
    {"code_25", "Prova_T1-.txt", 4, 12, "25", 0,
     "the sand quantity, field 1, is 40000, which does not fit a 16-bit number (-32768 to 32767); the "
     "compiler stops reading here"},
    {"code_25_no_train", "Prova_T1-.txt", 0, 0, "25", 0,
     "the train source does not exist"},
    {"code_101", "Prova_linea.txt", 0, 0, "101", 0,
     "the line source does not exist"},
    {"code_102", "Prova_linea.txt", 1, 1, "102", 0,
     "the line source has no '[generale]' line, so the compiler finds no general section; did you mean "
     "'[generale]'?"},
    {"code_103", "Prova_linea.txt", 12, 1, "103", 0,
     "the curve keyword 'curvad' has no class digit 1 to 6; write it as 'curvas4' (left) or 'curvad5' "
     "(right), the digit giving the radius"},
    {"guard_1250", "Prova_T1-.txt", 16, 16, "1250", 0,
     "the stamp guard stops the generator with \" Errore n. 1250\": the speed reduction at 50 m (the "
     "reduction's position, field 1) puts a speed reduction mark into cell 1, which is reserved for the "
     "check codes; place it further along the route"},
    {"guard_1251", "Prova_linea.txt", 21, 19, "1251", 0,
     "the stamp guard stops the generator with \" Errore n. 1251\": the speed indicator board at 0 m (the "
     "board's position, field 1) puts a speed indicator board into cell 1, which is reserved for the "
     "check codes; place it further along the route"},
};

INSTANTIATE_TEST_SUITE_P(StatusCodes, BrokenSources, ::testing::ValuesIn(kBrokenSources),
                         [](const auto& info) { return std::string(info.param.dir); });

// The caret stands under the field at fault, on the line printed under the message.
TEST(CompileErrors, CaretUnderTheFieldAtFault) {
  struct Case {
    const char* dir;
    const char* source_line;
    const char* caret;
  };
  const Case cases[] = {
      {"code_9", "  stazione,    9000, 12,  350,  1, 0, 0,  4,1,0,  2,1,1,   30,   8,15, 0, SECONDA",
       "                          ^"},
      {"code_4", "  ripetizione segnali 4 codici,    0    ,30", "                                         ^"},
      {"code_25", "  sabbia,    40000", "             ^"},
      {"code_102", "  [general]", "  ^"},  // the header it meant to be
  };
  for (const Case& c : cases) {
    TempDir tmp;
    copy_dir(fixture(c.dir), tmp.path());
    auto lines = lines_of(run_tool({"compile", tmp.path().string()}).err);
    ASSERT_GE(lines.size(), 3u) << c.dir;
    EXPECT_EQ(lines[1], c.source_line) << c.dir;
    EXPECT_EQ(lines[2], c.caret) << c.dir;
  }
}

// When the passes leave no train cells the generator's own driver fails after
// them; the tool says so in a note and writes nothing, even with --force.
TEST(CompileErrors, DriverFailureIsANoteAndForceWritesNothing) {
  TempDir tmp;
  copy_dir(fixture("code_1"), tmp.path());
  RunResult r = run_tool({"compile", "--force", tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines_of(r.err)[3], (tmp.path() / "Prova_linea.txt").string() +
                                    ": note: the generator then stops and writes no binary file: the passes stopped "
                                    "before they made the train cells");
  EXPECT_EQ(snapshot(tmp.path()).size(), 2u);
}

// Status 15 from the line source stays set and stops the train pass at its
// first signal; the note points there.
TEST(CompileErrors, StaleBoundCheckNotePointsAtTheSignal) {
  TempDir tmp;
  copy_dir(fixture("code_15_line"), tmp.path());
  auto lines = lines_of(run_tool({"compile", tmp.path().string()}).err);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[3], (tmp.path() / "Prova_T1-.txt").string() +
                          ":17:13: note: the train pass stops after this signal, because the line source's status 15 "
                          "is still set; the rest of the train source is not read");
}

// --force writes what the generator itself would write from the same texts.
TEST(CompileForce, WritesTheGeneratorsFilesDespiteTheError) {
  TempDir tmp;
  copy_dir(fixture("code_16"), tmp.path());
  SourceFiles texts = SourceFiles::in_memory(slurp(tmp.path() / "Prova_linea.txt"), slurp(tmp.path() / "Prova_T1-.txt"));
  const CompileResult expected = compile(ScenarioNames{"Prova", "T1"}, scenario::CompileOptions{}, texts);
  ASSERT_FALSE(expected.guard.has_value());
  ASSERT_FALSE(expected.failure.has_value());
  const BinaryFiles files = serialise_all(expected);

  RunResult r = run_tool({"compile", "--force", tmp.path().string()});

  EXPECT_EQ(r.status, 1) << "the errors still count";
  EXPECT_NE(r.out.find("(despite the errors, as --force asks)"), std::string::npos) << r.out;
  EXPECT_TRUE(slurp(tmp.path() / "Prova_linea.dat") == *files.linea);
  EXPECT_TRUE(slurp(tmp.path() / "Prova_T1.sim") == files.sim);
  EXPECT_TRUE(slurp(tmp.path() / "Prova_T1.dat") == files.dat);
}

TEST(CompileForce, StampGuardFailureWritesNothing) {
  TempDir tmp;
  copy_dir(fixture("guard_1250"), tmp.path());
  RunResult r = run_tool({"compile", "--force", tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(snapshot(tmp.path()).size(), 2u);
}

// A previous good set of files survives a failed compile untouched.
TEST(CompileErrors, PreviousFilesStayWhole) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  const auto good = snapshot(tmp.path());
  spit(tmp.path() / "Prova_T1-.txt", slurp(fixture("code_22") / "Prova_T1-.txt"));
  auto expected = good;
  expected["Prova_T1-.txt"] = slurp(tmp.path() / "Prova_T1-.txt");

  EXPECT_EQ(run_tool({"compile", tmp.path().string()}).status, 1);
  EXPECT_EQ(snapshot(tmp.path()), expected);
}

}  // namespace
}  // namespace scenario::tool
