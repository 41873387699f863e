// Tests of what the plot page shows: labels clear of every shape, values, tooltips, chainage, stretches, speed in force.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "common/cli.h"
#include "tool_test_support.h"
#include "plot/plot_data.h"
#include "plot/plot_panels.h"
#include "plot/plot_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;
using namespace testing_plot;

// The built-in sources with a slow order of 30 km/h from 40000 m over 500 m.
void sources_with_a_slow_order(const fs::path& dir) {
  write_builtin_sources(dir);
  const fs::path train = train_source_file(dir, builtin_names());
  spit(train, replaced(slurp(train), "[rallentamenti]\r\n",
                       "[rallentamenti]\r\nrallentamento,   40000,   30,   500,   0,   1,   0\r\n"));
}

// The page drawn by `plot` with the given options, in a folder the setup filled.
struct Drawn {
  std::string page;
  std::vector<Element> elements;
};

Drawn drawn(const fs::path& dir, std::vector<std::string> options = {}) {
  const fs::path svg = dir / "page.svg";
  options.insert(options.begin(), {"plot", "-o", svg.string()});
  options.push_back(dir.string());
  const RunResult r = run_tool(options);
  if (r.status != 0) throw std::runtime_error("plot failed: " + r.err);
  Drawn d{slurp(svg), {}};
  d.elements = elements_of(d.page);
  return d;
}

// The built-in scenario with a slow order, drawn once from its sources.
const Drawn& builtin_page() {
  static const Drawn page = [] {
    static TempDir dir;
    sources_with_a_slow_order(dir.path());
    return drawn(dir.path());
  }();
  return page;
}

// The same scenario drawn from the generator's binary files alone.
const Drawn& binary_page() {
  static const Drawn page = [] {
    static TempDir dir;
    for (const char* f : {"Castrovelde_Ardis_R31708.sim", "Castrovelde_Ardis_R31708.dat", "Castrovelde_Ardis_linea.dat"}) {
      fs::copy_file(generator_output() / f, dir.path() / f);
    }
    return drawn(dir.path());
  }();
  return page;
}

std::vector<const Element*> texts_of(const Drawn& d) {
  std::vector<const Element*> out;
  for (const Element& e : d.elements) {
    if (e.tag == "text") out.push_back(&e);
  }
  return out;
}

// The groups whose tooltip starts with `prefix`, in page order: each tooltip with its elements.
using Group = std::pair<std::string, std::vector<const Element*>>;
std::vector<Group> groups_titled(const Drawn& d, const std::string& prefix) {
  std::map<int, Group> by_id;
  for (const Element& e : d.elements) {
    if (e.group == 0 || e.title.rfind(prefix, 0) != 0) continue;
    by_id[e.group].first = e.title;
    by_id[e.group].second.push_back(&e);
  }
  std::vector<Group> out;
  for (auto& [id, g] : by_id) out.push_back(std::move(g));
  return out;
}

// The one group with this tooltip.
const std::vector<const Element*>& group_titled(const Drawn& d, const std::string& title) {
  static std::vector<std::vector<const Element*>> kept;
  std::vector<Group> found;
  for (Group& g : groups_titled(d, title)) {
    if (g.first == title) found.push_back(g);
  }
  if (found.size() != 1) throw std::runtime_error(std::to_string(found.size()) + " groups titled '" + title + "'");
  kept.push_back(found.front().second);
  return kept.back();
}

std::vector<std::string> texts_in(const std::vector<const Element*>& group) {
  std::vector<std::string> out;
  for (const Element* e : group) {
    if (e->tag == "text") out.push_back(e->text);
  }
  return out;
}

const Element* text_named(const Drawn& d, const std::string& text) {
  for (const Element& e : d.elements) {
    if (e.tag == "text" && e.text == text) return &e;
  }
  return nullptr;
}

struct PageCase {
  std::string name;
  std::function<Drawn()> draw;
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class PlotEveryLabelClear : public ::testing::TestWithParam<PageCase> {};

// No text covers another text, nor any drawn shape other than those of its
// own group (its marker and its leader); ground (backgrounds, grid lines,
// tunnel bands) excepted. Every text stands upright inside the page.
TEST_P(PlotEveryLabelClear, NoTextOverAnotherTextOrAShapeButItsOwn) {
  const Drawn d = GetParam().draw();
  const std::vector<const Element*> texts = texts_of(d);
  ASSERT_GT(texts.size(), 60u) << "not blank: title, legend, labels, scales";
  const Element& svg_size = d.elements.front();  // the page background
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const Element& t = *texts[i];
    const TextArea box = box_of_text(t);
    EXPECT_TRUE(t.at("transform").empty()) << t.text;
    EXPECT_TRUE(box.x0 >= 0 && box.y0 >= 0 && box.x1 <= svg_size.number("width") && box.y1 <= svg_size.number("height"))
        << "'" << t.text << "' leaves the page";
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      EXPECT_FALSE(overlap(box, box_of_text(*texts[j])))
          << "'" << t.text << "' at " << t.at("x") << "," << t.at("y") << " and '" << texts[j]->text << "'";
    }
    for (const Element& s : d.elements) {
      if (s.tag == "text" || is_ground(s) || (s.group != 0 && s.group == t.group)) continue;
      EXPECT_FALSE(shape_covers(s, box)) << "'" << t.text << "' at " << t.at("x") << "," << t.at("y") << " over a "
                                         << s.tag << (s.title.empty() ? "" : " of '" + s.title + "'");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PlotEveryLabelClear,
    ::testing::Values(PageCase{"BuiltInFromSources", [] { return builtin_page(); }},
                      PageCase{"BuiltInFromBinaryFiles", [] { return binary_page(); }},
                      PageCase{"StretchOf15Km",
                               [] {
                                 TempDir dir;
                                 sources_with_a_slow_order(dir.path());
                                 return drawn(dir.path(), {"--from", "30", "--to", "45"});
                               }}),
    [](const auto& info) { return info.param.name; });

// Every station named on the plan and under the profiles, every signal
// marked on both, headings right of the tick labels.
TEST(PlotPicture, EveryStationAndSignalIsDrawnAndHeadingsClearTheAxes) {
  const Drawn& d = builtin_page();
  auto count = [&](const std::string& text) {
    return std::count_if(d.elements.begin(), d.elements.end(),
                         [&](const Element& e) { return e.tag == "text" && e.text == text; });
  };
  for (const char* station : {"CASTROVELDE", "PIANELLO", "P.M. Km 11.959", "CASELLE TORRIANA", "PIETRAMALA",
                              "SERRAVALLE", "ARDIS"}) {
    EXPECT_EQ(count(station), 2) << station;
  }
  EXPECT_EQ(groups_titled(d, "signal").size(), 23u * 2);
  for (const Element& e : d.elements) {
    if (e.tag == "text" && (e.text.rfind("Gradient", 0) == 0 || e.text.rfind("Speed in force", 0) == 0 ||
                            e.text.rfind("Elevation", 0) == 0)) {
      EXPECT_GE(e.number("x"), 80) << e.text;
    }
  }
}

TEST(PlotPicture, SpeedBoardsShowTheirValuesAtTheirWrittenPlace) {
  const Drawn& d = builtin_page();
  const auto boards = groups_titled(d, "speed board at ");
  // The boards of the built-in line: 80 at 550 m, 40 at 24550, ...
  const std::pair<std::string, std::string> expected[] = {
      {"speed board at 0.55 km: 80 km/h", "80"},   {"speed board at 24.55 km: 40 km/h", "40"},
      {"speed board at 31.75 km: 80 km/h", "80"},  {"speed board at 33.7 km: 40 km/h", "40"},
      {"speed board at 35.2 km: 80 km/h", "80"}};
  ASSERT_EQ(boards.size(), std::size(expected));
  for (const auto& [title, value] : expected) EXPECT_EQ(texts_in(group_titled(d, title)), std::vector<std::string>{value}) << title;
  EXPECT_EQ(board_values(TrainCell{.Word1 = 1600, .Word2 = 1200, .Word3 = 1000}), "80/60/50");
}

// The speed panel's y for a speed, from its tick labels "0 km/h" and "80 km/h".
double speed_y(const Drawn& d, double kmh) {
  const double y0 = text_named(d, "0 km/h")->number("y") - 3, y80 = text_named(d, "80 km/h")->number("y") - 3;
  return y0 + (y80 - y0) * kmh / 80;
}

// The y a polyline has at x (its first segment that spans x).
std::optional<double> y_at(const Element& line, double x) {
  const std::vector<Pt> p = points_of(line);
  for (std::size_t i = 1; i < p.size(); ++i) {
    if (p[i - 1].first <= x && x <= p[i].first && p[i - 1].second == p[i].second) return p[i].second;
  }
  return std::nullopt;
}

TEST(PlotPicture, SpeedLineIsTheSpeedInForceWithTheSlowOrderMarkedOnIt) {
  const Drawn& d = builtin_page();
  const Element* speed = nullptr;
  for (const Element& e : d.elements) {
    if (e.tag == "polyline" && e.at("stroke") == kSpeedColour) speed = &e;
  }
  ASSERT_NE(speed, nullptr);
  // The axis: 1090 units for 96 km from x 80.
  auto x_of = [](double m) { return 80 + m / 96000 * 1090; };
  EXPECT_NEAR(*y_at(*speed, x_of(40250)), speed_y(d, 30), 0.02) << "lowered to the slow order's 30 km/h";
  EXPECT_NEAR(*y_at(*speed, x_of(39000)), speed_y(d, 80), 0.02) << "the limit before it";
  EXPECT_NEAR(*y_at(*speed, x_of(41000)), speed_y(d, 80), 0.02) << "and after it";

  const auto& group = group_titled(d, "slow order from 40 km to 40.5 km: 30 km/h");
  EXPECT_EQ(texts_in(group), std::vector<std::string>{"slow 30 km/h"});
  const auto mark = std::find_if(group.begin(), group.end(), [](const Element* e) { return e->tag == "polyline"; });
  ASSERT_NE(mark, group.end());
  EXPECT_EQ((*mark)->at("stroke"), kSlowOrderColour);
  for (const Pt& p : points_of(**mark)) EXPECT_NEAR(p.second, speed_y(d, 30), 0.02) << "drawn on the speed line";
  EXPECT_NEAR(points_of(**mark).front().first, x_of(40000), 0.02);
  EXPECT_NEAR(points_of(**mark).back().first, x_of(40500), 0.02);

  EXPECT_EQ(texts_in(group_titled(d, "warning of a slow order at 38.8 km: 30 km/h ahead")),
            std::vector<std::string>{"warning 30"});
}

TEST(PlotPicture, SignalsAreLabelledWithTheWrittenPositionAndTheCellInTheTooltip) {
  TempDir moved;
  write_builtin_sources(moved.path());
  const fs::path train = train_source_file(moved.path(), builtin_names());
  spit(train, replaced(slurp(train), "segnale,   12000,", "segnale,   12020,"));
  struct Case {
    const char* name;
    Drawn page;
    std::string title, label;
  };
  const Case cases[] = {
      {"sources", builtin_page(), "signal written at 12000 m, in train cell 241", "S 12 km"},
      {"binary files", binary_page(), "signal in train cell 241, written between 12000 and 12049 m", "S 12 km"},
      {"sources, a signal off the 50 m grid", drawn(moved.path()), "signal written at 12020 m, in train cell 241",
       "S 12.02 km"},
  };
  for (const Case& c : cases) {
    const auto both = groups_titled(c.page, c.title);
    ASSERT_EQ(both.size(), 2u) << c.name << ": the plan's and the speed panel's";
    EXPECT_EQ(texts_in(both[0].second), std::vector<std::string>{c.label}) << c.name;
    EXPECT_EQ(text_named(c.page, "S 12.05 km"), nullptr) << c.name << ": the cell's own place is no label";
  }
}

TEST(PlotPicture, SignTextsAreWholeInTooltipsAndWrappedNeverCut) {
  const Drawn& d = builtin_page();
  const auto signs = groups_titled(d, "sign at ");
  EXPECT_EQ(signs.size(), 32u) << "16 signs, on the plan and on the profiles";
  EXPECT_EQ(groups_titled(d, "sign at 58.1 km: (Galleria)(Monte Ardo)(8099 m.)").size(), 2u);
  for (const auto& [title, group] : signs) {
    const std::string full = title.substr(title.find(": ") + 2);
    std::string joined;
    for (const std::string& line : texts_in(group)) joined += line;
    auto no_blanks = [](std::string s) {
      s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
      return s;
    };
    if (!joined.empty()) {
      EXPECT_EQ(no_blanks(joined), no_blanks(full)) << "a label is the whole text, in lines";
    }
  }
  for (const Element* t : texts_of(d)) EXPECT_EQ(t->text.find("..."), std::string::npos) << t->text;

  struct Wrap {
    std::string text;
    std::vector<std::string> lines;
  };
  const Wrap wraps[] = {
      {"(Galleria)(Monte Ardo)(8099 m.)", {"(Galleria)", "(Monte Ardo)", "(8099 m.)"}},
      {"(  Galleria  )(   Rosaro   )", {"(Galleria)(Rosaro)"}},
      {"(ALVERIA)", {"(ALVERIA)"}},
      {"(Stazione di Castrovelde Alta)(1 m.)", {"(Stazione di", "Castrovelde Alta)", "(1 m.)"}},
  };
  for (const Wrap& w : wraps) EXPECT_EQ(wrapped(w.text, 20), w.lines) << w.text;
}

// The centre of a group's marker: its circle, polygon or rectangle.
std::optional<Pt> marker_centre(const std::vector<const Element*>& group) {
  for (const Element* e : group) {
    if (e->tag == "circle") return Pt{e->number("cx"), e->number("cy")};
    if (e->tag == "rect") return Pt{e->number("x") + e->number("width") / 2, e->number("y") + e->number("height") / 2};
    if (e->tag == "polygon") {
      double x = 0, y = 0;
      const auto p = points_of(*e);
      for (const Pt& q : p) x += q.first, y += q.second;
      return Pt{x / static_cast<double>(p.size()), y / static_cast<double>(p.size())};
    }
  }
  return std::nullopt;
}

TEST(PlotPicture, PlanLeadersAreShortAndLabelsStayOnTheirSideOfALoop) {
  const Drawn& d = builtin_page();
  const Element* track = nullptr;
  for (const Element& e : d.elements) {
    if (e.tag == "polyline" && e.at("stroke") == "black") track = &e;
  }
  ASSERT_NE(track, nullptr);
  // Distance along the drawn track to each of its points.
  const std::vector<Pt> points = points_of(*track);
  std::vector<double> along = {0};
  for (std::size_t i = 1; i < points.size(); ++i) {
    along.push_back(along.back() + std::hypot(points[i].first - points[i - 1].first, points[i].second - points[i - 1].second));
  }
  auto nearest = [&](const Pt& p) {
    std::size_t best = 0;
    double dist = 1e18;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double dd = std::hypot(points[i].first - p.first, points[i].second - p.second);
      if (dd < dist) dist = dd, best = i;
    }
    return along[best];
  };
  std::size_t checked = 0;
  for (const std::string prefix : {"station ", "signal ", "sign at ", "km "}) {
    for (const auto& [title, group] : groups_titled(d, prefix)) {
      const auto anchor = marker_centre(group);
      std::optional<TextArea> label;  // all the lines of the label
      for (const Element* e : group) {
        if (e->tag == "text") {
          const TextArea t = box_of_text(*e);
          label = label ? TextArea{std::min(label->x0, t.x0), std::min(label->y0, t.y0), std::max(label->x1, t.x1),
                                   std::max(label->y1, t.y1)}
                        : t;
        }
        if (e->tag == "line" && e->at("stroke") == "#999999") {
          EXPECT_LE(std::hypot(e->number("x2") - e->number("x1"), e->number("y2") - e->number("y1")), 90) << title;
        }
      }
      if (!anchor || !label) continue;
      const TextArea b = *label;
      const Pt centre{(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2};
      const double away = std::hypot(centre.first - anchor->first, centre.second - anchor->second);
      // Along the track as drawn: the plan's points are not exactly a metre apart.
      EXPECT_LE(std::abs(nearest(centre) - nearest(*anchor)), 2 * away + 5)
          << "a label stands nearer another stretch of track than its own (" << title << ")";
      ++checked;
    }
  }
  EXPECT_GT(checked, 40u);
}

TEST(PlotPicture, TunnelsCountedAsTheRangesDefineThem) {
  EXPECT_NE(builtin_page().page.find(" 70 tunnels, "), std::string::npos) << "every range of a type above 10";
  EXPECT_EQ(groups_titled(builtin_page(), "tunnel from 58.15 km to 66.25 km").size(), 2u) << "plan and profiles";
  EXPECT_NE(binary_page().page.find(" at least 49 tunnels, "), std::string::npos)
      << "the cells alone miss the ranges too short for a marker";
}

TEST(PlotPicture, KmPostsGiveTheChainageADriverReads) {
  std::set<std::string> posts;
  for (const auto& [title, group] : groups_titled(builtin_page(), "km ")) posts.insert(title);
  for (const auto& [title, group] : groups_titled(builtin_page(), "change of chainage")) posts.insert(title);
  const std::set<std::string> expected = {
      "km 0 at 0 km of the route",   "km 10 at 10 km of the route",   "km 80 at 19.5 km of the route",
      "km 70 at 29.5 km of the route", "km 60 at 39.5 km of the route", "km 50 at 49.5 km of the route",
      "km 40 at 59.5 km of the route", "km 30 at 69.5 km of the route", "km 20 at 79.5 km of the route",
      "km 0 at 95.9 km of the route",
      "change of chainage at 14.7 km of the route: km 14+700 becomes km 84+800",
      "change of chainage at 87.9 km of the route: km 11+600 becomes km 8",
  };
  EXPECT_EQ(posts, expected);
  EXPECT_NE(text_named(builtin_page(), "km 14+700/km 84+800"), nullptr);
}

TEST(PlotChainage, RowsMapRouteDistanceToChainage) {
  auto row = [](ScenarioRows& rows, int r, std::int32_t start, std::int32_t end, std::int32_t position) {
    rows[static_cast<std::size_t>(r)].Start = start;
    rows[static_cast<std::size_t>(r)].End = end;
    rows[static_cast<std::size_t>(r)].Position = position;
  };
  // The rows as the compiler orders them: a counting-down row's End raised by 100.
  ScenarioRows builtin{};
  row(builtin, 81, 87900, 96000, 1);
  row(builtin, 82, 14700, 99600, 1);
  const ScenarioRows none{};
  ScenarioRows up{};
  row(up, 81, 5000, 20000, 0);
  struct Case {
    const char* name;
    const ScenarioRows& rows;
    std::int64_t metres, chainage;
  };
  const Case cases[] = {
      {"first system", builtin, 14650, 14650},          {"second system's first metre", builtin, 14700, 84800},
      {"the card's point at 17150", builtin, 17150, 82350}, {"third system", builtin, 90000, 5900},
      {"the terminus", builtin, 95900, 0},                {"no rows: the route position", none, 1234, 1234},
      {"counting up from a base", up, 6000, 26000},        {"before a lone system", up, 4000, 4000},
  };
  for (const Case& c : cases) EXPECT_EQ(chainage_at(c.rows, c.metres), c.chainage) << c.name;
  EXPECT_EQ(chainage_text(84800), "km 84+800");
  EXPECT_EQ(chainage_text(8005), "km 8+005");
  EXPECT_EQ(chainage_text(80000), "km 80");
}

TEST(PlotStretch, FromToDrawsThatStretchOnly) {
  TempDir dir;
  sources_with_a_slow_order(dir.path());
  const Drawn d = drawn(dir.path(), {"--from", "30", "--to", "45"});
  EXPECT_NE(d.page.find("from 30 km to 45 km"), std::string::npos);
  const Element* track = nullptr;
  for (const Element& e : d.elements) {
    if (e.tag == "polyline" && e.at("stroke") == "black") track = &e;
  }
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(points_of(*track).size(), 1501u) << "a point every 10 m from 30 to 45 km";
  std::size_t signals = 0;
  for (const auto& [title, group] : groups_titled(d, "signal")) {
    const auto at = std::stod(title.substr(title.find_first_of("0123456789")));
    EXPECT_TRUE(at >= 30000 && at <= 45000) << title;
    ++signals;
  }
  EXPECT_GT(signals, 0u);
  for (const auto& [title, group] : groups_titled(d, "station ")) {
    const double km = std::stod(title.substr(title.find(" at ") + 4));
    EXPECT_TRUE(km >= 30 && km <= 45) << title;
  }
  EXPECT_NE(text_named(d, "30 km"), nullptr) << "the distance scale starts at the stretch";
  EXPECT_NE(text_named(d, "45 km"), nullptr);
  EXPECT_EQ(text_named(d, "0 m"), nullptr);
  EXPECT_EQ(groups_titled(d, "slow order from 40 km").size(), 1u);
}

TEST(PlotStretch, UnusableStretchesAreRefused) {
  TempDir dir;
  write_builtin_sources(dir.path());
  struct Case {
    std::vector<std::string> options;
    std::string error;
  };
  const Case cases[] = {
      {{"--from", "abc"}, "--from takes a distance in km of 0 or more, such as 12.5, not 'abc'"},
      {{"--to", "-3"}, "--to takes a distance in km of 0 or more, such as 12.5, not '-3'"},
      {{"--from", "20", "--to", "10"}, "--from must lie before --to"},
      {{"--from", "96"}, "--from 96 lies at or past the end of the route (96 km)"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"plot"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(dir.path().string());
    const RunResult r = run_tool(args);
    EXPECT_EQ(r.status, kExitUsage) << c.error;
    EXPECT_EQ(r.err, "scenario_tool: error: " + c.error + "\n");
  }
}

// The elevation panel climbs 10 per mille from 1000 m to 5000 m, 40 m in all: its
// scale runs up to +40 m in steps of 10 m, whatever else the page holds.
TEST(PlotElevation, HeightsAreTheGradientsTimesTheirLengths) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path line = tmp.path() / "Prova_linea.txt";
  spit(line, replaced(slurp(line), "pendenza,  500,   3\r\npendenza,  6000,   -5",
                      "pendenza,  1000,   10\r\npendenza,  5000,   0"));
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);
  std::vector<std::string> heights;
  const Drawn page = drawn(tmp.path());  // kept alive: the texts point into it
  for (const Element* t : texts_of(page)) {
    const std::string& text = t->text;
    const bool metres = text.size() > 2 && text.compare(text.size() - 2, 2, " m") == 0;
    if (metres && text[0] == '+') heights.push_back(text);
  }
  EXPECT_EQ(heights, (std::vector<std::string>{"+10 m", "+20 m", "+30 m", "+40 m"}));
}

}  // namespace
}  // namespace scenario::tool
