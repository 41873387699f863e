// The built-in line source: its lines, forms, counts, order and the relations
// between curves, "montagna" ranges and signs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "content/golden_test_support.h"
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

// Every byte of the text, against the golden file; the tests below hold the
// relations between its parts that a change of content must keep.
TEST(RigheLinea, TextIsTheGoldenFile) { EXPECT_TRUE(golden::matches("linea.txt", render_lines(linee()))); }

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

// Each record changes the gradient in force at a later whole cell, from 0 m.
TEST(RigheLineaPendenze, FortyChangesAtAscendingWholeCells) {
  static const std::regex form(R"(pendenza, +(-?[0-9]+), +(-?[0-9]+))");
  std::vector<std::pair<int, int>> changes;
  for (int i = 172; i <= 211; ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(linee()[i], m, form)) << "line " << i << ": " << linee()[i];
    changes.emplace_back(std::stoi(m[1]), std::stoi(m[2]));
  }
  EXPECT_EQ(linee()[212], "[montagne]");
  EXPECT_EQ(changes.front(), std::make_pair(0, 0));
  for (std::size_t i = 1; i < changes.size(); ++i) {
    const auto& [position, value] = changes[i];
    EXPECT_EQ(position % 50, 0) << "line " << 172 + i;
    EXPECT_LT(position, 96000) << "line " << 172 + i;
    EXPECT_GT(position, changes[i - 1].first) << "line " << 172 + i;
    EXPECT_NE(value, changes[i - 1].second) << "line " << 172 + i;
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

using Names = std::span<const names::StructureName>;

std::string name_at(Names list, int position) {
  for (const auto& n : list) {
    if (n.sign_position == position) return std::string(n.name);
  }
  return "?";
}

bool is_tunnel_sign(const Sign& s) {
  const std::string kind = s.groups.empty() ? "" : trim(s.groups[0]);
  return kind == "Galleria" || kind == "Gall.elic.";
}

// Every border and structure of the place names has its sign, in route order.
// The groups of a sign share one width; the name comes from the place names,
// centred with the odd blank after it; only a tunnel's sign gives a length.
TEST(RigheLineaCartelli, SignsAgreeWithThePlaceNames) {
  ASSERT_EQ(linee()[294], "[indicazioni]");
  ASSERT_EQ(linee()[311], "[fine]");
  static const std::regex length_form(R"( *[0-9]+ m\. *)");
  std::vector<int> positions;
  for (int line = 295; line <= 310; ++line) {
    SCOPED_TRACE(linee()[line]);
    const Sign s = sign_at(line);
    ASSERT_FALSE(s.groups.empty());
    positions.push_back(s.position);
    for (const std::string& g : s.groups) EXPECT_EQ(g.size(), s.groups[0].size()) << "'" << g << "'";
    if (s.groups.size() == 1) {
      EXPECT_EQ(s.groups[0], name_at(names::kBorders, s.position));
      continue;
    }
    const bool tunnel = is_tunnel_sign(s);
    if (!tunnel) {
      EXPECT_EQ(trim(s.groups[0]), "Viadotto");
    }
    ASSERT_EQ(s.groups.size(), tunnel ? 3u : 2u);
    const std::string& name = s.groups[1];
    EXPECT_EQ(trim(name), name_at(tunnel ? Names(names::kTunnels) : Names(names::kViaducts), s.position));
    const std::size_t before = name.find_first_not_of(' ');
    const std::size_t after = name.size() - 1 - name.find_last_not_of(' ');
    EXPECT_TRUE(after == before || after == before + 1) << "'" << name << "'";
    if (tunnel) {
      EXPECT_TRUE(std::regex_match(s.groups[2], length_form)) << "'" << s.groups[2] << "'";
    }
  }
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  std::vector<int> named;
  for (Names list : {Names(names::kBorders), Names(names::kTunnels), Names(names::kViaducts)}) {
    for (const auto& n : list) named.push_back(n.sign_position);
  }
  std::sort(named.begin(), named.end());
  EXPECT_EQ(positions, named);
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
