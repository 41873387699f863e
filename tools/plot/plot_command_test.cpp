// Tests of the plot command: which scenario it draws, from its sources or its binary files, escaping, and missing files.
#include "plot/plot_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "plot/plot_panels.h"
#include "common/svg.h"
#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Where the picture comes from: sources beside the binary files are compiled
// in memory (so a picture never shows files older than the sources), and
// nothing is written but the picture.
TEST(PlotSources, SourcesAreCompiledInMemoryFirst) {
  TempDir tmp;
  ASSERT_EQ(run_tool({"init", tmp.path().string()}).status, 0);
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  const fs::path train = tmp.path() / "Castrovelde_Ardis_R31708-.txt";
  spit(train, replaced(slurp(train), "[rallentamenti]\r\n",
                       "[rallentamenti]\r\nrallentamento,   40000,   30,   500,   0,   1,   0\r\n"));
  const auto before = snapshot(tmp.path());
  const RunResult r = run_tool({"plot", tmp.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const fs::path svg = tmp.path() / "Castrovelde_Ardis_R31708.svg";
  const std::string page = slurp(svg);
  EXPECT_NE(page.find("drawn from the sources, compiled in memory"), std::string::npos);
  EXPECT_NE(page.find(", 1 slow order</text>"), std::string::npos) << "the edited source, not the older files";
  auto after = snapshot(tmp.path());
  after.erase(svg.filename().string());
  EXPECT_EQ(after, before) << "the binary files are left as they were";

  // A source file names its folder's scenario as well.
  const RunResult by_file = run_tool({"plot", "-o", (tmp.path() / "f.svg").string(), train.string()});
  ASSERT_EQ(by_file.status, 0) << by_file.err;
  EXPECT_NE(slurp(tmp.path() / "f.svg").find(", 1 slow order</text>"), std::string::npos);
}

// A source that cannot be compiled alone (its partner is gone) but is newer
// than the binary files beside it: the files are drawn, with a warning.
TEST(PlotSources, ASourceNewerThanTheBinaryFilesIsWarnedAbout) {
  TempDir tmp;
  ASSERT_EQ(run_tool({"init", tmp.path().string()}).status, 0);
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  const fs::path line = tmp.path() / "Castrovelde_Ardis_linea.txt";
  fs::remove(tmp.path() / "Castrovelde_Ardis_R31708-.txt");
  fs::last_write_time(tmp.path() / "Castrovelde_Ardis_R31708.sim", fs::last_write_time(line) + std::chrono::seconds(5));
  EXPECT_EQ(run_tool({"plot", tmp.path().string()}).err, "") << "sources older than the files";
  fs::last_write_time(line, fs::last_write_time(line) + std::chrono::seconds(60));
  const RunResult r = run_tool({"plot", tmp.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "scenario_tool: warning: " + line.string() +
                       " is newer than the binary files drawn; compile it, or give plot the whole pair to draw from "
                       "the sources\n");
  EXPECT_NE(slurp(tmp.path() / "Castrovelde_Ardis_R31708.svg").find("drawn from the binary files"), std::string::npos);
}

TEST(PlotSources, ErrorsAreWarnedAboutAndSourcesWithoutFilesRefused) {
  TempDir broken, empty_line;
  ASSERT_EQ(run_tool({"init", broken.path().string()}).status, 0);
  const fs::path train = broken.path() / "Castrovelde_Ardis_R31708-.txt";
  // A second signal in the cell of the first: refused, an error.
  spit(train, replaced(slurp(train), "segnale,   10700,", "segnale,   10710,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\nsegnale,   10700,"));
  const RunResult r = run_tool({"plot", broken.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "scenario_tool: warning: the sources have 1 error; the picture shows the files as compile --force "
                   "would write them (scenario_tool check lists the errors)\n");
  EXPECT_NE(slurp(broken.path() / "Castrovelde_Ardis_R31708.svg").find("(1 error: as compile --force would write them)"),
            std::string::npos);

  ASSERT_EQ(run_tool({"init", empty_line.path().string()}).status, 0);
  spit(empty_line.path() / "Castrovelde_Ardis_linea.txt", "");
  const RunResult none = run_tool({"plot", empty_line.path().string()});
  EXPECT_EQ(none.status, kExitProblems);
  EXPECT_EQ(none.err, "scenario_tool: error: the sources in " + empty_line.path().string() +
                          " compile to no binary files; scenario_tool check says why\n");
  EXPECT_FALSE(fs::exists(empty_line.path() / "Castrovelde_Ardis_R31708.svg"));
}

// Two scenarios in one folder: --route and --train choose.
TEST(PlotChoice, RouteAndTrainChooseAScenario) {
  TempDir tmp;
  ASSERT_EQ(run_tool({"init", "--route", "Alfa", "--train", "T1", tmp.path().string()}).status, 0);
  ASSERT_EQ(run_tool({"init", "--route", "Beta", "--train", "T2", tmp.path().string()}).status, 0);
  ASSERT_EQ(run_tool({"compile", "--route", "Alfa", tmp.path().string()}).status, 0);
  ASSERT_EQ(run_tool({"compile", "--route", "Beta", tmp.path().string()}).status, 0);
  RunResult both = run_tool({"plot", tmp.path().string()});
  EXPECT_EQ(both.status, 2);
  EXPECT_EQ(both.err, "scenario_tool: error: '" + tmp.path().string() +
                          "' holds 2 .sim files (Alfa_T1.sim, Beta_T2.sim); choose one with --route NAME and --train CODE\n");
  RunResult beta = run_tool({"plot", "--route", "Beta", "--train", "T2", tmp.path().string()});
  ASSERT_EQ(beta.status, 0) << beta.err;
  EXPECT_EQ(beta.out, "wrote " + (tmp.path() / "Beta_T2.svg").string() + "\n");
  EXPECT_EQ(run_tool({"plot", "--train", "T1", tmp.path().string()}).status, 0);
  EXPECT_TRUE(fs::exists(tmp.path() / "Alfa_T1.svg"));
}

// A station name in Latin-1, one byte per letter, is drawn as that letter.
TEST(PlotText, Latin1NamesAreDecoded) {
  TempDir tmp;
  ASSERT_EQ(run_tool({"init", tmp.path().string()}).status, 0);
  const fs::path train = tmp.path() / "Castrovelde_Ardis_R31708-.txt";
  std::string text = slurp(train);
  text.replace(text.find("MONTEFERRO"), 10, "Forl\xEC");
  spit(train, text);
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  ASSERT_EQ(run_tool({"plot", tmp.path().string()}).status, 0);
  const std::string page = slurp(tmp.path() / "Castrovelde_Ardis_R31708.svg");
  EXPECT_EQ(occurrences(page, ">Forl\xC3\xAC</text>"), 2u);
}

TEST(PlotWithoutTrackPlan, SaysSoAndStillDrawsTheProfiles) {
  TempDir tmp;
  for (const char* f : {"Castrovelde_Ardis_R31708.sim", "Castrovelde_Ardis_R31708.dat"}) {
    fs::copy_file(generator_output() / f, tmp.path() / f);
  }
  const fs::path out = tmp.path() / "page.svg";
  ASSERT_EQ(run_tool({"plot", "-o", out.string(), tmp.path().string()}).status, 0);
  const std::string page = slurp(out);
  EXPECT_NE(page.find(">no track plan: Castrovelde_Ardis_linea.dat was not found</text>"), std::string::npos);
  EXPECT_NE(page.find(">Speed in force (km/h): the limit, lowered by slow orders; speed boards, signals</text>"),
            std::string::npos);
  EXPECT_NE(page.find("drawn from the binary files"), std::string::npos);
}

TEST(PlotErrors, MissingOrAmbiguousFiles) {
  TempDir empty, two, orphan;
  spit(two.path() / "A_T.sim", "");
  spit(two.path() / "B_T.sim", "");
  fs::copy_file(generator_output() / "Castrovelde_Ardis_R31708.sim", orphan.path() / "Castrovelde_Ardis_R31708.sim");
  struct Case {
    const fs::path& dir;
    std::string error;
  };
  const Case cases[] = {
      {empty.path(), "'" + empty.path().string() + "' holds no .sim file; compile the sources first (scenario_tool compile)"},
      {two.path(), "'" + two.path().string() + "' holds 2 .sim files (A_T.sim, B_T.sim); choose one with --route NAME and --train CODE"},
      {orphan.path(), "Castrovelde_Ardis_R31708.sim names route 'Castrovelde_Ardis' and train 'R31708', but " +
                          (orphan.path() / "Castrovelde_Ardis_R31708.dat").string() + " does not exist"},
  };
  for (const Case& c : cases) {
    RunResult r = run_tool({"plot", c.dir.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "scenario_tool: error: " + c.error + "\n");
  }
}

TEST(Svg, EscapesTextAndAttributes) {
  EXPECT_EQ(xml_escape("a<b>&\"c\"'d'"), "a&lt;b&gt;&amp;&quot;c&quot;&apos;d&apos;");
  EXPECT_EQ(xml_escape(std::string("caff\xe8\x01")), "caff\xC3\xA8\\x01") << "8-bit code page bytes, control characters";
  EXPECT_EQ(svg_text(1, 2, "S&P", "font-size=\"9\"", 90),
            "<text x=\"1\" y=\"2\" font-size=\"9\" transform=\"rotate(90 1 2)\">S&amp;P</text>");
}

TEST(Svg, NumbersAndRoundLengths) {
  EXPECT_EQ(svg_number(12.0), "12");
  EXPECT_EQ(svg_number(-0.001), "0");
  EXPECT_EQ(svg_number(3.14159), "3.14");
  EXPECT_EQ(svg_number(-2.5), "-2.5");
  const std::pair<double, double> lengths[] = {{9999, 5000}, {1999, 1000}, {250, 200}, {0.7, 0.5}, {0, 1}};
  for (const auto& [approx, round] : lengths) EXPECT_EQ(round_length(approx), round) << approx;
  EXPECT_EQ(length_label(500), "500 m");
  EXPECT_EQ(length_label(20000), "20 km");
}

}  // namespace
}  // namespace scenario::tool
