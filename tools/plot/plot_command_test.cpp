// Tests of the plot: what the page marks for the built-in scenario, escaping, and missing files.
#include "plot/plot_command.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// A text element of the page, read back from the SVG.
struct SvgText {
  double x = 0, y = 0, size = 0;
  std::string anchor = "start";
  std::string text;  // decoded, UTF-8
  bool rotated = false;
};

std::string attribute(const std::string& element, const std::string& name) {
  const std::string key = " " + name + "=\"";
  const std::size_t at = element.find(key);
  if (at == std::string::npos) return "";
  const std::size_t from = at + key.size();
  return element.substr(from, element.find('"', from) - from);
}

std::string xml_decoded(std::string t) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities) {
    for (std::size_t at = t.find(from); at != std::string::npos; at = t.find(from, at + 1)) {
      t.replace(at, std::string(from).size(), to);
    }
  }
  return t;
}

std::vector<SvgText> texts_of(const std::string& page) {
  std::vector<SvgText> out;
  for (std::size_t at = page.find("<text "); at != std::string::npos; at = page.find("<text ", at + 1)) {
    const std::size_t open_end = page.find('>', at);
    const std::string element = page.substr(at, open_end - at);
    SvgText t;
    t.x = std::stod(attribute(element, "x"));
    t.y = std::stod(attribute(element, "y"));
    t.size = std::stod(attribute(element, "font-size"));
    if (!attribute(element, "text-anchor").empty()) t.anchor = attribute(element, "text-anchor");
    t.rotated = !attribute(element, "transform").empty();
    t.text = xml_decoded(page.substr(open_end + 1, page.find("</text>", open_end) - open_end - 1));
    out.push_back(t);
  }
  return out;
}

std::size_t characters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

struct TextBox {
  double x0, y0, x1, y1;
};

// A box estimated from the font size and the text's length: 0.7 em a
// character, the font size high, from a little below the baseline.
TextBox box_of(const SvgText& t) {
  const double w = 0.7 * t.size * static_cast<double>(characters(t.text));
  const double left = t.anchor == "middle" ? t.x - w / 2 : t.anchor == "end" ? t.x - w : t.x;
  return {left, t.y - 0.8 * t.size, left + w, t.y + 0.25 * t.size};
}

bool overlap(const TextBox& a, const TextBox& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

// The built-in scenario with a slow order added, compiled in `dir`.
void scenario_with_a_slow_order(const fs::path& dir) {
  ASSERT_EQ(run_tool({"init", dir.string()}).status, 0);
  const fs::path train = dir / "Castrovelde_Ardis_R31708-.txt";
  std::string text = slurp(train);
  const std::string header = "[rallentamenti]\r\n";
  text.insert(text.find(header) + header.size(), "rallentamento,   40000,   30,   500,   0,   1,   0\r\n");
  spit(train, text);
  ASSERT_EQ(run_tool({"compile", dir.string()}).status, 0);
}

TEST(PlotBuiltIn, NoTwoLabelsOverlapAndEverythingIsDrawn) {
  TempDir tmp;
  scenario_with_a_slow_order(tmp.path());
  RunResult r = run_tool({"plot", tmp.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path svg = tmp.path() / "Castrovelde_Ardis_R31708.svg";
  EXPECT_EQ(r.out, "wrote " + svg.string() + "\n");
  const std::string page = slurp(svg);
  EXPECT_EQ(page.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
  EXPECT_EQ(page.find("href"), std::string::npos) << "self-contained: nothing linked";

  const std::vector<SvgText> texts = texts_of(page);
  ASSERT_GT(texts.size(), 150u) << "not blank: title, legend, labels, scales";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_FALSE(texts[i].rotated) << texts[i].text;
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      EXPECT_FALSE(overlap(box_of(texts[i]), box_of(texts[j])))
          << "'" << texts[i].text << "' at " << texts[i].x << "," << texts[i].y << " and '" << texts[j].text << "' at "
          << texts[j].x << "," << texts[j].y;
    }
  }
  auto count = [&](const std::string& text) {
    return std::count_if(texts.begin(), texts.end(), [&](const SvgText& t) { return t.text == text; });
  };
  // Every station named on the plan and under the profiles; every sign on
  // both, the plan's cut to 28 characters.
  for (const char* station : {"CASTROVELDE", "PIANELLO", "P.M. Km 11.959", "CASELLE TORRIANA", "PIETRAMALA",
                              "SERRAVALLE", "ARDIS"}) {
    EXPECT_EQ(count(station), 2) << station;
  }
  EXPECT_EQ(count("(Galleria)(Castagno)(1276 m.)"), 1);
  EXPECT_EQ(count("(Galleria)(Castagno)(1276..."), 1);
  EXPECT_EQ(count("S 10.75 km"), 1) << "the first signal labelled on the plan";
  EXPECT_EQ(count("10 km"), 3) << "a km post, the scale bar and the distance scale";
  EXPECT_EQ(count("slow 30 km/h"), 1);
  EXPECT_NE(page.find(std::string("fill=\"") + kSlowOrderColour + "\" fill-opacity=\"0.25\""), std::string::npos)
      << "the slow order's stretch";
  EXPECT_NE(page.find("Elevation above the start (m), from the gradients"), std::string::npos);
  EXPECT_EQ(occurrences(page, std::string("fill=\"") + kSignalColour + "\"/>"), 23u * 2 + 1) << "plus the legend";
  EXPECT_EQ(occurrences(page, std::string("fill=\"") + kBoardColour + "\"/>"), 5u + 1)
      << "the five speed boards of the built-in route, and the legend";
}

// Headings stand above their panels, right of the tick labels.
TEST(PlotBuiltIn, HeadingsClearOfTheAxes) {
  TempDir tmp;
  scenario_with_a_slow_order(tmp.path());
  ASSERT_EQ(run_tool({"plot", tmp.path().string()}).status, 0);
  for (const SvgText& t : texts_of(slurp(tmp.path() / "Castrovelde_Ardis_R31708.svg"))) {
    if (t.text.rfind("Gradient", 0) == 0 || t.text.rfind("Speed limit", 0) == 0 || t.text.rfind("Elevation", 0) == 0) {
      EXPECT_GE(t.x, 80) << t.text;
    }
  }
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
  EXPECT_EQ(both.err, "scenario_tool: error: " + tmp.path().string() +
                          " holds 2 .sim files (Alfa_T1.sim, Beta_T2.sim); choose one with --route NAME and --train CODE\n");
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
  EXPECT_NE(page.find(">Speed limit (km/h), slow orders and speed boards</text>"), std::string::npos);
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
      {two.path(), two.path().string() + " holds 2 .sim files (A_T.sim, B_T.sim); choose one with --route NAME and --train CODE"},
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
