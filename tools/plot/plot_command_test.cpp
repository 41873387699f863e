// Tests of the plot: what the page marks for the built-in scenario, escaping, and missing files.
#include "plot/plot_command.h"

#include <gtest/gtest.h>

#include "plot/plot_panels.h"
#include "common/svg.h"
#include "common/tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(PlotBuiltIn, MarksStationsSignalsSignsAndTunnels) {
  TempDir tmp;
  for (const char* f : {"Castrovelde_Ardis_linea.dat", "Castrovelde_Ardis_R31708.sim", "Castrovelde_Ardis_R31708.dat"}) {
    fs::copy_file(generator_output() / f, tmp.path() / f);
  }
  RunResult r = run_tool({"plot", tmp.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path svg = tmp.path() / "Castrovelde_Ardis_R31708.svg";
  EXPECT_EQ(r.out, "wrote " + svg.string() + "\n");
  const std::string page = slurp(svg);

  EXPECT_EQ(page.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
  EXPECT_NE(page.find("Castrovelde_Ardis / R31708: 96 km, 18 stations, 23 signals,"), std::string::npos);
  // Every station is named twice: on the track plan and under the profiles.
  EXPECT_EQ(occurrences(page, ">CASTROVELDE</text>"), 2u);
  EXPECT_EQ(occurrences(page, ">ARDIS</text>"), 2u);
  // Signals: a dot on the plan and a triangle on the profiles.
  EXPECT_EQ(occurrences(page, "<circle") - 18, 23u) << "18 station dots and 23 signal dots";
  EXPECT_EQ(occurrences(page, std::string("fill=\"") + kSignalColour + "\"/>"), 23u * 2 + 1) << "plus the legend";
  // Signs are labelled with their text, blanks squeezed, and escaped.
  EXPECT_NE(page.find(">(Galleria)(Castagno)(1276 m.)</text>"), std::string::npos);
  EXPECT_EQ(occurrences(page, std::string("fill=\"") + kSignColour + "\"/>"), 16u + 1);
  EXPECT_NE(page.find(">10 km</text>"), std::string::npos) << "the scale bar";
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
  EXPECT_NE(page.find(">Speed limit (km/h)</text>"), std::string::npos);
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
      {empty.path(), empty.path().string() + " holds no .sim file; compile the sources first (scenario_tool compile)"},
      {two.path(), two.path().string() + " holds 2 .sim files (A_T.sim, B_T.sim); plot draws one scenario per directory"},
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
  EXPECT_EQ(xml_escape(std::string("caff\xe8\x01")), "caff&#232; ") << "8-bit code page bytes, control characters";
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
