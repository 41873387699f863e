// The built-in line source: its lines, forms, counts, order and the relations
// between curves, "montagna" ranges and signs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"

namespace scenario {
namespace {

const std::vector<std::string>& linee() {
  static const std::vector<std::string> lines = righe_linea();
  return lines;
}

struct Span {
  int line;
  int start;
  int end;
};

bool overlaps(const Span& a, const Span& b) { return a.start < b.end && b.start < a.end; }

TEST(RigheLinea, ThreeHundredTwelveLinesThenTheTerminator) {
  const std::vector<std::string>& lines = linee();
  ASSERT_EQ(lines.size(), 313u);
  EXPECT_EQ(lines[311], "[fine]");
  EXPECT_EQ(lines[312], kTerminator);
  std::string text = render_lines(lines);
  std::size_t crlf = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++crlf;
  EXPECT_EQ(crlf, 312u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 312);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 312);
  EXPECT_TRUE(text.ends_with("\r\n[fine]\r\n"));
  EXPECT_EQ(text.find(std::string(kTerminator)), std::string::npos);
  for (char c : text) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
}

struct LineCase {
  int index;
  const char* text;
};

class RigheLineaLine : public testing::TestWithParam<LineCase> {};

TEST_P(RigheLineaLine, IsExactly) { EXPECT_EQ(linee()[GetParam().index], GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Generale, RigheLineaLine,
    testing::Values(LineCase{0, "[generale]"}, LineCase{1, "lunghezza percorso,    96000"},
                    LineCase{2, "progressiva chilometrica uno,    0,    0,    0"},
                    LineCase{3, "progressiva chilometrica due,    14700,    99500,    1"},
                    LineCase{4, "progressiva chilometrica tre,    87900,    95900,    1"},
                    LineCase{5, "sfondo uno,    78700"}, LineCase{6, "sfondo due,    1"},
                    LineCase{7, "sfondo tre,    3600"}, LineCase{8, "ripetizione segnali 4 codici,    0    ,0"}));

INSTANTIATE_TEST_SUITE_P(
    Headers, RigheLineaLine,
    testing::Values(LineCase{9, "[curve]"}, LineCase{170, "[pendenze]"},
                    LineCase{171, "- Altitudine iniziale Castrovelde = 9 m."}, LineCase{212, "[montagne]"},
                    LineCase{288, "[cartelli]"}, LineCase{294, "[indicazioni]"}, LineCase{311, "[fine]"}));

INSTANTIATE_TEST_SUITE_P(
    Curve, RigheLineaLine,
    testing::Values(LineCase{10, "curvas4,  250,  400"}, LineCase{11, "curvad5,  800,  450"},
                    LineCase{53, "curvad3,  22550,  50"}, LineCase{81, "curvas4,  32650,  1050"},
                    LineCase{97, "curvad4,  42100,  2000"}, LineCase{111, "curvad4,  51150,  1750"},
                    LineCase{119, "curvas5,  58000,  150"}, LineCase{120, "curvad5,  66250,  250"},
                    LineCase{136, "curvad4,  73300,  2450"}, LineCase{169, "curvad5,  94700,  400"}));

INSTANTIATE_TEST_SUITE_P(
    Pendenze, RigheLineaLine,
    testing::Values(LineCase{172, "pendenza,   0,    0"}, LineCase{173, "pendenza,  500,   3"},
                    LineCase{199, "pendenza,  66300,   -27"}, LineCase{211, "pendenza,  95200,   0"}));

INSTANTIATE_TEST_SUITE_P(
    Montagne, RigheLineaLine,
    testing::Values(LineCase{213, "montagna,   2450,  2600,  12"}, LineCase{234, "montagna,   19800,  21000,  11"},
                    LineCase{237, "montagna,   26850,  26900,  2"}, LineCase{239, "montagna,   27750,  27800,  1"},
                    LineCase{242, "montagna,   31200,  31250,  1"}, LineCase{243, "montagna,   31350,  31400,  2"},
                    LineCase{245, "montagna,   31850,  33700,  11"}, LineCase{247, "montagna,   34300,  34350,  2"},
                    LineCase{253, "montagna,   38400,  39650,  11"}, LineCase{254, "montagna,   39950,  41100,  12"},
                    LineCase{255, "montagna,   42000,  43850,  11"}, LineCase{257, "montagna,   45400,  47000,  11"},
                    LineCase{261, "montagna,   50150,  51600,  11"}, LineCase{270, "montagna,   55700,  56900,  12"},
                    LineCase{271, "montagna,   58150,  66250,  11"}, LineCase{275, "montagna,   69600,  70700,  11"},
                    LineCase{280, "montagna,   73900,  75400,  11"}, LineCase{287, "montagna,   93850,  95100,  12"}));

INSTANTIATE_TEST_SUITE_P(
    Indicatori, RigheLineaLine,
    testing::Values(LineCase{289, "indicatori_vmax,  550,  80,  80,  80,  0,  ,  ,  ,  0"},
                    LineCase{290, "indicatori_vmax,  24550,  40,  40,  40,  0,  ,  ,  ,  0"},
                    LineCase{291, "indicatori_vmax,  31750,  80,  80,  80,  0,  ,  ,  ,  0"},
                    LineCase{292, "indicatori_vmax,  33700,  40,  40,  40,  0,  ,  ,  ,  0"},
                    LineCase{293, "indicatori_vmax,  35200,  80,  80,  80,  0,  ,  ,  ,  0"}));

// --- curves ----------------------------------------------------------------

struct Curve {
  int line;
  std::string keyword;
  int start;
  int length;
};

std::vector<Curve> curve() {
  static const std::regex form(R"((curva[sd][1-6]),  ([0-9]+),  ([0-9]+))");
  std::vector<Curve> out;
  for (int i = 10; i <= 169; ++i) {
    std::smatch m;
    EXPECT_TRUE(std::regex_match(linee()[i], m, form)) << "line " << i << ": " << linee()[i];
    if (m.empty()) continue;
    out.push_back(Curve{i, m[1], std::stoi(m[2]), std::stoi(m[3])});
  }
  return out;
}

std::vector<Span> montagne() {
  static const std::regex form(R"(montagna,   ([0-9]+),  ([0-9]+),  ([0-9]+))");
  std::vector<Span> out;
  for (int i = 213; i <= 287; ++i) {
    std::smatch m;
    EXPECT_TRUE(std::regex_match(linee()[i], m, form)) << "line " << i << ": " << linee()[i];
    if (m.empty()) continue;
    out.push_back(Span{i, std::stoi(m[1]), std::stoi(m[2])});
  }
  return out;
}

int kind_of_montagna(int line) {
  std::string l = linee()[line];
  return std::stoi(l.substr(l.rfind(',') + 1));
}

TEST(RigheLineaCurve, CountsByKeyword) {
  std::map<std::string, int> counts;
  for (const Curve& c : curve()) ++counts[c.keyword];
  std::map<std::string, int> want = {{"curvad5", 49}, {"curvas5", 46}, {"curvad4", 19}, {"curvas6", 16},
                                     {"curvas4", 15}, {"curvad6", 11}, {"curvad3", 4}};
  EXPECT_EQ(counts, want);
}

TEST(RigheLineaCurve, AscendingWithoutOverlapInBounds) {
  std::vector<Curve> c = curve();
  ASSERT_EQ(c.size(), 160u);
  EXPECT_EQ(c.front().start, 250);
  EXPECT_EQ(c.back().start, 94700);
  for (std::size_t i = 0; i < c.size(); ++i) {
    EXPECT_EQ(c[i].start % 50, 0) << c[i].line;
    EXPECT_EQ(c[i].length % 50, 0) << c[i].line;
    EXPECT_GE(c[i].length, 50) << c[i].line;
    EXPECT_LE(c[i].length, 2450) << c[i].line;
    if (i > 0) {
      EXPECT_LE(c[i - 1].start + c[i - 1].length, c[i].start) << "line " << c[i].line;
    }
  }
}

TEST(RigheLineaCurve, ClassThreeOnlyOnTheFourListedRightCurves) {
  std::vector<std::pair<int, int>> threes;
  for (const Curve& c : curve()) {
    if (c.keyword.back() == '3') threes.emplace_back(c.start, c.length);
    EXPECT_GE(c.keyword.back(), '3') << c.line;
  }
  std::vector<std::pair<int, int>> want = {{22550, 50}, {49350, 150}, {49600, 50}, {54550, 550}};
  EXPECT_EQ(threes, want);
}

TEST(RigheLineaCurve, LongestStretchWithoutCurvesIs58150To66250) {
  std::vector<Curve> c = curve();
  int best = 0, from = 0;
  for (std::size_t i = 1; i < c.size(); ++i) {
    int gap = c[i].start - (c[i - 1].start + c[i - 1].length);
    if (gap > best) best = gap, from = c[i - 1].start + c[i - 1].length;
  }
  EXPECT_EQ(from, 58150);
  EXPECT_EQ(best, 66250 - 58150);
}

TEST(RigheLineaCurve, FourLongestAreTheListedLines) {
  std::vector<Curve> c = curve();
  std::sort(c.begin(), c.end(), [](const Curve& a, const Curve& b) { return a.length > b.length; });
  std::vector<int> lines = {c[0].line, c[1].line, c[2].line, c[3].line};
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<int>{81, 97, 111, 136}));
  EXPECT_LT(c[4].length, c[3].length);
}

// --- gradients ---------------------------------------------------------------

TEST(RigheLineaPendenze, FortyChangesInOrder) {
  const std::vector<std::pair<int, int>> want = {
      {0, 0},          {500, 3},        {750, 5},        {4800, 0},       {5100, 14},     {9550, 15},
      {11800, 0},      {12100, 15},     {12950, 0},      {13250, 23},     {17000, 0},     {17250, 21},
      {21100, 0},      {22000, 22},     {28500, 0},      {28900, 20},     {41250, 0},     {41550, 14},
      {43950, 17},     {45100, 0},      {45400, 20},     {48950, 0},      {49250, 20},    {57200, 0},
      {57500, 16},     {58100, 7},      {65450, 0},      {66300, -27},    {67400, 0},     {68000, -26},
      {73100, -23},    {76400, 0},      {76700, -19},    {82750, 0},      {83150, -16},   {85700, 0},
      {86000, -8},     {87250, 0},      {87650, -13},    {95200, 0}};
  ASSERT_EQ(want.size(), 40u);
  for (std::size_t i = 1; i < want.size(); ++i) {
    const auto& [p, v] = want[i];
    EXPECT_EQ(linee()[172 + i], "pendenza,  " + std::to_string(p) + ",   " + std::to_string(v));
  }
}

// --- montagna ranges ---------------------------------------------------------

TEST(RigheLineaMontagne, CountsByKind) {
  std::map<int, int> counts;
  for (const Span& m : montagne()) ++counts[kind_of_montagna(m.line)];
  EXPECT_EQ(counts, (std::map<int, int>{{1, 2}, {2, 3}, {11, 41}, {12, 29}}));
}

TEST(RigheLineaMontagne, AscendingWithoutOverlapAndLine271Longest) {
  std::vector<Span> m = montagne();
  ASSERT_EQ(m.size(), 75u);
  for (std::size_t i = 0; i < m.size(); ++i) {
    int span = m[i].end - m[i].start;
    EXPECT_GE(span, 50) << m[i].line;
    EXPECT_LE(span, 8100) << m[i].line;
    EXPECT_EQ(m[i].start % 50, 0) << m[i].line;
    EXPECT_EQ(m[i].end % 50, 0) << m[i].line;
    if (m[i].line != 271) {
      EXPECT_LT(span, 8100) << m[i].line;
    }
    if (i > 0) {
      EXPECT_LE(m[i - 1].end, m[i].start) << "line " << m[i].line;
    }
  }
}

TEST(RigheLineaMontagne, KindsOneAndTwoOnlyOnTheFiveListedLines) {
  std::vector<int> lines;
  for (const Span& m : montagne()) {
    int k = kind_of_montagna(m.line);
    if (k == 1 || k == 2) {
      lines.push_back(m.line);
      EXPECT_EQ(m.end - m.start, 50) << m.line;
    }
  }
  EXPECT_EQ(lines, (std::vector<int>{237, 239, 242, 243, 247}));
}

// --- signs -------------------------------------------------------------------

struct Sign {
  int position;
  std::vector<std::string> groups;  // the texts between the parentheses
};

Sign sign_at(int line) {
  static const std::regex form(R"(cartello_indicatore,  ([0-9]+),   ((\([^()]*\)){1,3}))");
  std::smatch m;
  Sign s{};
  EXPECT_TRUE(std::regex_match(linee()[line], m, form)) << linee()[line];
  if (m.empty()) return s;
  s.position = std::stoi(m[1]);
  std::string text = m[2];
  for (std::size_t at = 0; at < text.size();) {
    std::size_t close = text.find(')', at);
    s.groups.push_back(text.substr(at + 1, close - at - 1));
    at = close + 1;
  }
  return s;
}

std::string trim(const std::string& t) {
  std::size_t a = t.find_first_not_of(' ');
  return a == std::string::npos ? "" : t.substr(a, t.find_last_not_of(' ') - a + 1);
}

std::string name_at(std::span<const names::StructureName> list, int position) {
  for (const auto& n : list) {
    if (n.sign_position == position) return std::string(n.name);
  }
  return "?";
}

struct SignCase {
  int line;
  int position;
  std::size_t width;
  const char* first;  // "" for a border sign
  const char* third;  // "" when there is none
};

class RigheLineaSign : public testing::TestWithParam<SignCase> {};

TEST_P(RigheLineaSign, GroupsNamesAndWidths) {
  const SignCase& c = GetParam();
  Sign s = sign_at(c.line);
  EXPECT_EQ(s.position, c.position);
  for (const std::string& g : s.groups) EXPECT_EQ(g.size(), c.width) << "'" << g << "'";
  std::string first = c.first;
  if (first.empty()) {
    ASSERT_EQ(s.groups.size(), 1u);
    EXPECT_EQ(s.groups[0], name_at(names::kBorders, c.position));
    return;
  }
  bool tunnel = first.find("Gal") != std::string::npos;
  ASSERT_EQ(s.groups.size(), tunnel ? 3u : 2u);
  EXPECT_EQ("(" + s.groups[0] + ")", first);
  std::span<const names::StructureName> list = names::kViaducts;
  if (tunnel) list = names::kTunnels;
  EXPECT_EQ(trim(s.groups[1]), name_at(list, c.position));
  if (tunnel) {
    EXPECT_EQ("(" + s.groups[2] + ")", c.third);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cartelli, RigheLineaSign,
    testing::Values(SignCase{295, 14700, 7, "", ""}, SignCase{296, 19750, 8, "(Galleria)", "(1186 m. )"},
                    SignCase{297, 31700, 10, "( Viadotto )", ""},
                    SignCase{298, 31800, 10, "(Gall.elic.)", "( 1883 m.  )"},
                    SignCase{299, 38350, 10, "( Galleria )", "( 1249 m.  )"},
                    SignCase{300, 39900, 8, "(Galleria)", "(1154 m. )"},
                    SignCase{301, 41950, 10, "(Gall.elic.)", "( 1857 m.  )"},
                    SignCase{302, 45350, 8, "(Galleria)", "( 1584 m.)"},
                    SignCase{303, 50100, 10, "(Gall.elic.)", "( 1467 m.  )"},
                    SignCase{304, 55650, 8, "(Galleria)", "( 1273 m.)"},
                    SignCase{305, 58100, 12, "(  Galleria  )", "(  8099 m.   )"},
                    SignCase{306, 61900, 6, "", ""}, SignCase{307, 69550, 8, "(Galleria)", "( 1086 m.)"},
                    SignCase{308, 73100, 8, "(Viadotto)", ""},
                    SignCase{309, 73850, 10, "(Gall.elic.)", "( 1502 m.  )"},
                    SignCase{310, 93800, 9, "(Galleria )", "( 1276 m. )"}));

TEST(RigheLineaCartelli, BorderSignsNameTheCountryInUpperCase) {
  EXPECT_EQ(linee()[295], "cartello_indicatore,  14700,   (ALVERIA)");
  EXPECT_EQ(linee()[306], "cartello_indicatore,  61900,   (VALSIA)");
}

TEST(RigheLineaCartelli, AStructureNameIsCentredInItsWidth) {
  EXPECT_EQ(linee()[296], "cartello_indicatore,  19750,   (Galleria)( Sorba  )(1186 m. )");
  EXPECT_EQ(linee()[305], "cartello_indicatore,  58100,   (  Galleria  )( Monte Ardo )(  8099 m.   )");
}

// Each tunnel sign stands 50 m before its tunnel's "montagna" line, whose
// span is close to but not equal to the length on the sign.
TEST(RigheLineaCartelli, TunnelSignsStandBeforeTheirRange) {
  std::vector<Span> m = montagne();
  int tunnels = 0;
  for (int line = 295; line <= 310; ++line) {
    Sign s = sign_at(line);
    if (s.groups.size() != 3) continue;
    ++tunnels;
    auto it = std::find_if(m.begin(), m.end(), [&](const Span& r) { return r.start == s.position + 50; });
    ASSERT_NE(it, m.end()) << "sign at " << s.position;
    EXPECT_GE(kind_of_montagna(it->line), 11);
    int stated = std::stoi(trim(s.groups[2]));
    int span = it->end - it->start;
    EXPECT_NE(stated, span) << s.position;
    EXPECT_LE(std::abs(stated - span), 100) << s.position;
  }
  EXPECT_EQ(tunnels, 12);
}

// The four longest curves run through the four spiral tunnels, one each, and
// no other curve enters them.
TEST(RigheLineaCartelli, SpiralTunnelsHoldTheFourLongestCurves) {
  std::vector<Curve> c = curve();
  std::vector<Span> m = montagne();
  std::vector<int> crossing;
  for (int line = 295; line <= 310; ++line) {
    Sign s = sign_at(line);
    if (s.groups.empty() || s.groups[0] != "Gall.elic.") continue;
    auto tunnel = std::find_if(m.begin(), m.end(), [&](const Span& r) { return r.start == s.position + 50; });
    ASSERT_NE(tunnel, m.end());
    std::vector<int> inside;
    for (const Curve& k : c) {
      if (overlaps(*tunnel, Span{k.line, k.start, k.start + k.length})) inside.push_back(k.line);
    }
    ASSERT_EQ(inside.size(), 1u) << "tunnel at " << tunnel->start;
    crossing.push_back(inside[0]);
  }
  EXPECT_EQ(crossing, (std::vector<int>{81, 97, 111, 136}));
}

}  // namespace
}  // namespace scenario
