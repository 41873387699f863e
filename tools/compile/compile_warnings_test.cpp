// Tests of the warnings, --werror, JSON diagnostics and the choice of sources in a directory.
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

// The good fixture with one edit in one of its texts.
struct Edit {
  const char* file;
  const char* old;
  const char* now;
};

struct WarningCase {
  const char* name;
  Edit edit;
  const char* code;
  int line;
  int column;
  const char* message;
};

std::ostream& operator<<(std::ostream& os, const WarningCase& c) { return os << c.name; }

void prepare(const fs::path& dir, const Edit& e) {
  copy_dir(fixture("ok"), dir);
  spit(dir / e.file, replaced(slurp(dir / e.file), e.old, e.now));
}

class Warnings : public ::testing::TestWithParam<WarningCase> {};

TEST_P(Warnings, WarnsButWritesTheFiles) {
  const WarningCase& c = GetParam();
  TempDir tmp;
  prepare(tmp.path(), c.edit);

  RunResult r = run_tool({"compile", tmp.path().string()});

  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(first_line(r.err), (tmp.path() / c.edit.file).string() + ":" + std::to_string(c.line) + ":" +
                                   std::to_string(c.column) + ": warning: " + c.message + " [-W" + c.code + "]");
  EXPECT_EQ(lines_of(r.err).back(), "0 errors, 1 warning");
  EXPECT_TRUE(fs::exists(tmp.path() / "Prova_T1.dat"));
}

TEST_P(Warnings, WerrorMakesThemErrors) {
  const WarningCase& c = GetParam();
  TempDir tmp;
  prepare(tmp.path(), c.edit);

  RunResult r = run_tool({"compile", "--werror", "--diagnostics=json", tmp.path().string()});

  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\"line\":" + std::to_string(c.line) + ","), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"severity\":\"error\",\"code\":\"" + std::string(c.code) + "\""), std::string::npos) << r.out;
  EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings");
  EXPECT_FALSE(fs::exists(tmp.path() / "Prova_T1.dat")) << "an error writes no file";
}

const WarningCase kWarnings[] = {
    {"record_after_fine",
     {"Prova_T1-.txt", "[fine]\r\n", "[fine]\r\nsegnale,   12000,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n"},
     "after-end", 20, 1,
     "'segnale' comes after '[fine]', yet the compiler still reads it as a record; move it above '[fine]' or "
     "remove it"},
    {"lone_last_keyword", {"Prova_T1-.txt", "[fine]\r\n", "sabbia\r\n"}, "unread-last", 19, 1,
     "'sabbia' is the last field of the file, so the compiler never reads it; a source ends with a '[fine]' line"},
    {"repeated_record", {"Prova_T1-.txt", "sabbia,    300\r\n", "sabbia,    300\r\nsabbia,    200\r\n"},
     "overwritten", 4, 1,
     "this sand is replaced by the sand on line 5, which wins; nothing of this one reaches the files"},
    {"curve_keyword_reads_left", {"Prova_linea.txt", "curvad5,", "curva destra 5,"}, "keyword-side", 12, 1,
     "'curva destra 5' names a right curve, but any 's' in a curve keyword makes it turn left, and this one holds "
     "an 's'; write 'curva d' and the class for a right curve"},
    {"curve_keyword_dx_reads_left", {"Prova_linea.txt", "curvad5,", "curva dx stretta 5,"}, "keyword-side", 12, 1,
     "'curva dx stretta 5' names a right curve, but any 's' in a curve keyword makes it turn left, and this one "
     "holds an 's'; write 'curva d' and the class for a right curve"},
    {"range_past_route_end", {"Prova_linea.txt", "montagna,   2000,  3000,  11", "montagna,   19000,  21000,  11"},
     "past-end", 19, 21,
     "the montagna range reaching 21000 m lies past the route's end at 20000 m; the compiler accepts it because "
     "the train cells run on 7000 m beyond the end"},
    {"signal_past_route_end", {"Prova_T1-.txt", "segnale,    8500,", "segnale,    20500,"}, "past-end", 18, 13,
     "the signal at 20500 m lies past the route's end at 20000 m; the compiler accepts it because the train cells "
     "run on 7000 m beyond the end"},
};

INSTANTIATE_TEST_SUITE_P(Kinds, Warnings, ::testing::ValuesIn(kWarnings),
                         [](const auto& info) { return std::string(info.param.name); });

// Headers, comments, "[fine]" and the values of an unknown keyword are not
// warned about; a good source gives no warning at all.
TEST(WarningsQuiet, GoodAndBuiltInSourcesGiveNone) {
  TempDir good, builtin;
  copy_dir(fixture("ok"), good.path());
  write_builtin_sources(builtin.path());
  for (const fs::path& dir : {good.path(), builtin.path()}) {
    RunResult r = run_tool({"compile", dir.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "0 errors, 0 warnings\n") << dir;
  }
}

// A position exactly at the route's end is not past it: a signal at 20000 m
// and a range reaching 20000 m on a route of 20000 m.
TEST(WarningsQuiet, RecordsReachingTheRouteEndExactly) {
  TempDir tmp;
  prepare(tmp.path(), {"Prova_T1-.txt", "segnale,    8500,", "segnale,    20000,"});
  const fs::path line = tmp.path() / "Prova_linea.txt";
  spit(line, replaced(slurp(line), "montagna,   2000,  3000,  11", "montagna,   19000,  20000,  11"));
  RunResult r = run_tool({"check", tmp.path().string()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "0 errors, 0 warnings\n");
}

TEST(WarningsQuiet, CurvesWithoutTrackPlanAreNotUnknown) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  RunResult r = run_tool({"compile", "--no-line", tmp.path().string()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "0 errors, 0 warnings\n");
}

TEST(CompileJson, OneObjectPerLineWithTheSummaryOnStderr) {
  TempDir tmp;
  prepare(tmp.path(), {"Prova_linea.txt", "pendenza,  500,   3", "pendnza,  500,   3"});
  RunResult r = run_tool({"compile", "--diagnostics=json", tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "{\"file\":\"" + (tmp.path() / "Prova_linea.txt").string() +
                       "\",\"line\":16,\"column\":1,\"severity\":\"error\",\"code\":\"unknown-keyword\","
                       "\"message\":\"'pendnza' matches no keyword and is ignored; did you mean 'pendenza'?\"}\n");
  EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings");
}

struct DirCase {
  const char* name;
  std::vector<const char*> files;
  std::vector<std::string> options;
  int status;
  const char* message;  // after "<dir>": "" when the compile succeeds
};

TEST(SourceChoice, NamesFromFilesOrOptions) {
  const DirCase cases[] = {
      {"one_pair", {"Prova_linea.txt", "Prova_T1-.txt"}, {}, 0, ""},
      {"two_routes", {"Prova_linea.txt", "Altra_linea.txt", "Prova_T1-.txt"}, {}, 2,
       " holds 2 line sources (Altra_linea.txt, Prova_linea.txt); choose one with --route NAME"},
      {"route_chosen", {"Prova_linea.txt", "Altra_linea.txt", "Prova_T1-.txt"}, {"--route", "Prova"}, 0, ""},
      {"two_trains", {"Prova_linea.txt", "Prova_T1-.txt", "Prova_T2-.txt"}, {}, 2,
       " holds 2 train sources for route Prova (Prova_T1-.txt, Prova_T2-.txt); choose one with --train CODE"},
      {"train_chosen", {"Prova_linea.txt", "Prova_T1-.txt", "Prova_T2-.txt"}, {"--train", "T2"}, 0, ""},
      // "_linea.txt" names no route: it is not a line source.
      {"line_source_without_a_route_name", {"_linea.txt", "Prova_linea.txt", "Prova_T1-.txt"}, {}, 0, ""},
      {"no_line", {"Prova_T1-.txt"}, {}, 2, " holds no line source (<route>_linea.txt); name the route with --route NAME"},
      {"no_train", {"Prova_linea.txt"}, {}, 2,
       " holds no train source for route Prova (Prova_<train>-.txt); name the train with --train CODE"},
  };
  for (const DirCase& c : cases) {
    TempDir tmp;
    for (const char* f : c.files) {
      const std::string name = f;
      const bool line = name.find("_linea") != std::string::npos;
      spit(tmp.path() / f, slurp(fixture("ok") / (line ? "Prova_linea.txt" : "Prova_T1-.txt")));
    }
    std::vector<std::string> args = {"compile"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(tmp.path().string());
    RunResult r = run_tool(args);
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
    if (c.status != 0) {
      EXPECT_EQ(r.err, "scenario_tool: error: '" + tmp.path().string() + "'" + c.message + "\n") << c.name;
    }
  }
}

TEST(SourceChoice, MissingDirectory) {
  RunResult r = run_tool({"compile", "/nonexistent/sources"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "scenario_tool: error: the source directory or file '/nonexistent/sources' does not exist\n");
}

// A source file names its scenario; its partner is found beside it, also
// when the route name holds "_" and another route's sources stand there too.
TEST(SourceChoice, ASourceFileInsteadOfItsFolder) {
  struct Case {
    const char* given;
    std::vector<std::string> options;
    int status;
    const char* summary_or_error;
  };
  const Case cases[] = {
      {"Prova_Alta_linea.txt", {}, 0, "checked Prova_Alta / T1:"},
      {"Prova_Alta_T1-.txt", {}, 0, "checked Prova_Alta / T1:"},
      {"Prova_linea.txt", {}, 0, "checked Prova / X_T2:"},
      {"Prova_X_T2-.txt", {}, 0, "checked Prova / X_T2:"},
      {"Prova_X_T2-.txt", {"--route", "Prova_Alta"}, 2, "belongs to route Prova, not to --route Prova_Alta"},
      {"Prova_T1.sim", {}, 2, "is neither a line source (<route>_linea.txt) nor a train source"},
  };
  TempDir tmp;
  for (const char* f : {"Prova_Alta_linea.txt", "Prova_linea.txt"}) spit(tmp.path() / f, slurp(fixture("ok") / "Prova_linea.txt"));
  for (const char* f : {"Prova_Alta_T1-.txt", "Prova_X_T2-.txt"}) spit(tmp.path() / f, slurp(fixture("ok") / "Prova_T1-.txt"));
  spit(tmp.path() / "Prova_T1.sim", "");
  for (const Case& c : cases) {
    std::vector<std::string> args = {"check"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back((tmp.path() / c.given).string());
    RunResult r = run_tool(args);
    EXPECT_EQ(r.status, c.status) << c.given << ": " << r.err;
    EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.summary_or_error), std::string::npos) << c.given << ": " << r.out << r.err;
  }
  EXPECT_EQ(snapshot(tmp.path()).size(), 5u) << "check writes nothing";
}

}  // namespace
}  // namespace scenario::tool
