// The line pass: the built-in line source, the records, the track plan, the
// bound check, every status code and whether the line source is deleted.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "content/text_writer.h"
#include "content/writers.h"
#include "model/compile_state.h"
#include "model/source_files.h"
#include "parser/passes.h"

namespace scenario {
namespace {

const char kTrain[] = "[generale]\r\n[fine]\r\n";

// A line source: the general section with the given route length, then the body.
std::string sorgente(const std::string& body, int route_length = 1000) {
  return "[generale]\r\nlunghezza percorso,    " + std::to_string(route_length) + "\r\n[curve]\r\n" + body +
         "[fine]\r\n";
}

struct Esecuzione {
  CompileState s;
  std::string text;  // the line source as it was read
  SourceFiles sources = SourceFiles::in_memory(std::nullopt, std::nullopt);
  LinePassResult result;
  RangeList ranges;  // the ranges the body placed
};

// Runs the line pass on `e`'s sources, keeping the range list it left.
void leggi(Esecuzione& e) {
  PassState ps(e.s);
  e.result = leggi_linea(ps, e.sources);
  e.ranges = ps.ranges;
}

// Runs the line pass alone on an in-memory text.
Esecuzione linea(std::optional<std::string> text, std::int32_t compile_line = 1, bool notes = false) {
  Esecuzione e;
  e.s.RouteName = "Rotta";
  e.s.TrainCode = "T1";
  e.s.CompileLine = compile_line;
  if (notes) e.s.account.emplace();
  e.text = text.value_or("");
  e.sources = SourceFiles::in_memory(std::move(text), kTrain);
  leggi(e);
  return e;
}

// Runs both passes under the recovery, as the driver does.
Esecuzione dati(std::optional<std::string> text, std::int32_t compile_line = 1) {
  Esecuzione e;
  e.s.CompileLine = compile_line;
  e.s.report.StatusPosition = 777;
  e.sources = SourceFiles::in_memory(std::move(text), kTrain);
  memorizza_dati(e.s, e.sources);
  return e;
}

std::vector<std::uint8_t> pendenze(const CompileState& s, int from, int to) {
  std::vector<std::uint8_t> out;
  for (int i = from; i <= to; ++i) out.push_back(s.scenario.TrainCells.at(i).Byte5);
  return out;
}

// ---------------------------------------------------------------------------
// The built-in line source, compiled once.

const Esecuzione& incorporata() {
  static const Esecuzione e = linea(render_lines(righe_linea()), 1, true);
  return e;
}

TEST(BuiltInLine, CompilesWithoutStatusAndDeletesItsSource) {
  const Esecuzione& e = incorporata();
  EXPECT_EQ(e.s.report.StatusCode, 0);
  EXPECT_EQ(e.s.report.StatusPosition, 0);
  EXPECT_TRUE(e.result.train_pass_follows);
  EXPECT_EQ(e.result.next_sign_row, 64);
  EXPECT_FALSE(e.sources.exists(SourceId::Line));
  EXPECT_TRUE(e.sources.exists(SourceId::Train));
}

// The keyword fields the account holds, as (text, use).
std::vector<std::pair<std::string, KeywordUse>> chiavi(const Esecuzione& e) {
  std::vector<std::pair<std::string, KeywordUse>> out;
  for (const KeywordEntry& k : e.s.account->keywords) {
    out.emplace_back(std::string(testo_di(e.text, k.start, k.end)), k.use);
  }
  return out;
}

TEST(BuiltInLine, ReadBackItYieldsEveryRecord) {
  std::map<std::string, int> records;
  const char* keywords[] = {"lunghezza", "curva", "pendenza", "montagna", "indicatori_v", "cartello"};
  const Esecuzione& e = incorporata();
  for (const AccountRecord& r : e.s.account->records) {
    const std::string_view text = testo_di(e.text, r.start, e.s.account->keywords[r.keyword].end);
    for (const char* k : keywords) {
      if (text.find(k) != std::string::npos) ++records[k];
    }
  }
  std::map<std::string, int> want = {{"lunghezza", 1}, {"curva", 160},       {"pendenza", 40},
                                     {"montagna", 75}, {"indicatori_v", 5}, {"cartello", 16}};
  EXPECT_EQ(records, want);
  EXPECT_EQ(incorporata().s.scenario.ScenarioTable[84].End, 96000);
  EXPECT_EQ(incorporata().ranges.Count, 75);
  EXPECT_EQ(chiavi(e).back(), std::make_pair(std::string("[fine]"), KeywordUse::UnreadLast));
}

TEST(BuiltInLine, GeneralRows) {
  const ScenarioRows& t = incorporata().s.scenario.ScenarioTable;
  struct {
    int row;
    std::int32_t start, end, position;
  } rows[] = {{81, 87900, 96000, 1}, {82, 14700, 99600, 1}, {83, 0, 0, 0},
              {84, 0, 96000, 0},     {85, 78700, 3600, 1},  {86, 0, 0, 0}};
  for (const auto& r : rows) {
    EXPECT_EQ(t[r.row].Start, r.start) << r.row;
    EXPECT_EQ(t[r.row].End, r.end) << r.row;
    EXPECT_EQ(t[r.row].Position, r.position) << r.row;
  }
  EXPECT_EQ(t[85].Name, "Rotta");
  EXPECT_EQ(t[86].Name, "T1");
}

TEST(BuiltInLine, CellsAndPlanSizes) {
  const CompileState& s = incorporata().s;
  EXPECT_EQ(s.scenario.CellCount, 2060);
  EXPECT_EQ(s.scenario.TrainCells.size(), 2061u);
  ASSERT_EQ(s.scenario.LineCells.last_point(), 103000);
  for (int col : {0, 1}) {
    EXPECT_EQ(s.scenario.LineCells.get(0, col).tag, LineTag::Int16);
    EXPECT_EQ(s.scenario.LineCells.get(1, col).tag, LineTag::Int16);
    EXPECT_EQ(s.scenario.LineCells.get(2, col).tag, LineTag::Real);
    EXPECT_EQ(s.scenario.LineCells.get(102998, col).tag, LineTag::Real);
    EXPECT_EQ(s.scenario.LineCells.get(102999, col).tag, LineTag::Empty);
    EXPECT_EQ(s.scenario.LineCells.get(103000, col).tag, LineTag::Empty);
  }
  EXPECT_EQ(s.scenario.LineCells.real(1, 1), 1.0);
}

TEST(BuiltInLine, SignsTakeRows80DownTo65) {
  const Esecuzione& e = incorporata();
  std::vector<std::string> lines = righe_linea();
  for (int i = 0; i < 16; ++i) {
    const std::string& line = lines[295 + i];
    std::string text = line.substr(line.find(",   ") + 4);
    EXPECT_EQ(e.s.scenario.ScenarioTable[80 - i].Name, text) << "row " << 80 - i;
  }
  EXPECT_EQ(e.s.scenario.ScenarioTable[64].Name, "");
  const TrainCell& first = e.s.scenario.TrainCells[295];
  EXPECT_EQ(first.Kind, 14);
  EXPECT_EQ(first.Word1, 80);
  const TrainCell& last = e.s.scenario.TrainCells[1877];  // 93800 / 50 + 1
  EXPECT_EQ(last.Kind, 14);
  EXPECT_EQ(last.Word1, 65);
}

TEST(BuiltInLine, GradientCodes) {
  const CompileState& s = incorporata().s;
  EXPECT_EQ(pendenze(s, 0, 9), std::vector<std::uint8_t>(10, 100));
  EXPECT_EQ(pendenze(s, 10, 14), std::vector<std::uint8_t>(5, 103));
  EXPECT_EQ(pendenze(s, 1326, 1347), std::vector<std::uint8_t>(22, 73));  // -27 from 66300 to 67400
  EXPECT_EQ(pendenze(s, 1903, 1903), std::vector<std::uint8_t>{87});      // -13 up to 95200
  EXPECT_EQ(pendenze(s, 1904, 2057), std::vector<std::uint8_t>(154, 100));
  EXPECT_EQ(pendenze(s, 2058, 2060), std::vector<std::uint8_t>(3, 0));
}

TEST(BuiltInLine, SpeedBoardAndRangesPlaced) {
  const CompileState& s = incorporata().s;
  EXPECT_EQ(s.scenario.TrainCells[12].Kind, 6);
  EXPECT_EQ(s.scenario.TrainCells[12].Word1, 1600);
  EXPECT_EQ(s.scenario.TrainCells[49].Byte3, 2);  // 2450..2600 of kind 12
}

// The first curve, left, class 4, from 250 for 400 m: straight up the Y axis,
// then turning left; each value is computed from the two before it in doubles.
TEST(BuiltInLine, FirstCurve) {
  const LinePlan& p = incorporata().s.scenario.LineCells;
  for (int m = 2; m <= 250; ++m) {
    ASSERT_EQ(p.real(m, 0), 0.0) << m;
    ASSERT_EQ(p.real(m, 1), static_cast<double>(m)) << m;
  }
  EXPECT_EQ(p.real(251, 0), -0.001);
  EXPECT_EQ(p.real(251, 1), 251.0);
  EXPECT_EQ(p.real(650, 0), -79.14421964608397);
  EXPECT_EQ(p.real(650, 1), 639.4173561708893);
}

// ---------------------------------------------------------------------------
// Signs and gradients on small fixtures.

struct SignCase {
  std::int32_t position;
  std::int32_t cell;
};
void PrintTo(const SignCase& c, std::ostream* os) { *os << "At" << c.position; }

class LineSignCell : public testing::TestWithParam<SignCase> {};

TEST_P(LineSignCell, PositionOver50PlusOneRoundedOnce) {
  Esecuzione e = linea(sorgente("cartello_indicatore,  " + std::to_string(GetParam().position) + ",   (X)\r\n"));
  ASSERT_EQ(e.s.report.StatusCode, 0);
  const TrainCell& c = e.s.scenario.TrainCells.at(GetParam().cell);
  EXPECT_EQ(c.Kind, 14);
  EXPECT_EQ(c.Word1, 80);
  EXPECT_EQ(e.s.scenario.ScenarioTable[80].Name, "(X)");
  EXPECT_EQ(e.result.next_sign_row, 79);
}

INSTANTIATE_TEST_SUITE_P(Cells, LineSignCell,
                         testing::Values(SignCase{75, 2}, SignCase{125, 4}, SignCase{5000, 101}),
                         [](const testing::TestParamInfo<SignCase>& info) {
                           return "At" + std::to_string(info.param.position);
                         });

TEST(LineSignCell, ARangeMarkerCellIsFree) {
  // 6950..7900 of type 11 puts markers into cells 142, 146, 150, 154.
  Esecuzione e = linea(sorgente("montagna, 6950, 7900, 11\r\ncartello_indicatore, 7050, (S)\r\n", 96000));
  ASSERT_EQ(e.s.report.StatusCode, 0);
  EXPECT_EQ(e.s.scenario.TrainCells[142].Kind, 14);
  EXPECT_EQ(e.s.scenario.TrainCells[142].Byte3, 1);
}

struct GradientCase {
  const char* name;
  std::string body;
  std::vector<std::uint8_t> cells_0_to_17;
};
void PrintTo(const GradientCase& c, std::ostream* os) { *os << c.name; }

class LineGradient : public testing::TestWithParam<GradientCase> {};

TEST_P(LineGradient, CellsAndCompletion) {
  Esecuzione e = linea(sorgente(GetParam().body));
  ASSERT_EQ(e.s.report.StatusCode, 0);
  EXPECT_EQ(pendenze(e.s, 0, 17), GetParam().cells_0_to_17);
}

std::vector<std::uint8_t> runs(std::initializer_list<std::pair<int, std::uint8_t>> parts) {
  std::vector<std::uint8_t> out;
  for (auto [n, v] : parts) out.insert(out.end(), n, v);
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Records, LineGradient,
    testing::Values(
        // The first record writes nothing, the second 100 into 0..9, the
        // third 103 into 10..14, the completion 105 onwards.
        GradientCase{"ThreeRecords", "pendenza,   0,    0\r\npendenza,  500,   3\r\npendenza,  750,   5\r\n",
                     runs({{10, 100}, {5, 103}, {3, 105}})},
        // A second record at 500 still writes one cell, with the gradient in
        // force before it.
        GradientCase{"SamePositionTwice", "pendenza, 0, 0\r\npendenza, 500, 3\r\npendenza, 500, 7\r\n",
                     runs({{10, 100}, {1, 103}, {7, 107}})},
        GradientCase{"DecreasingPosition", "pendenza, 500, 3\r\npendenza, 100, -4\r\n",
                     runs({{10, 100}, {1, 103}, {7, 96}})},
        GradientCase{"NoRecord", "", runs({{18, 100}})},
        // A record whose position rounds to cell 0 writes no cell, first or
        // later: its gradient starts where the fill index stands.
        GradientCase{"FirstRecordInCellZero", "pendenza, 10, 5\r\npendenza, 500, 3\r\n", runs({{10, 105}, {8, 103}})},
        GradientCase{"LaterRecordInCellZero", "pendenza, 500, 3\r\npendenza, 0, 7\r\n", runs({{10, 100}, {8, 107}})}),
    [](const testing::TestParamInfo<GradientCase>& info) { return std::string(info.param.name); });

TEST(LineGradient, CompletionStopsThreeCellsBeforeTheEnd) {
  Esecuzione e = linea(sorgente("pendenza, 0, -2\r\n"));  // CellCount 160
  EXPECT_EQ(pendenze(e.s, 155, 160), runs({{3, 98}, {3, 0}}));
}

// ---------------------------------------------------------------------------
// LineCurves.

struct CurveCase {
  const char* keyword;
  double x_after_start;  // X of the first curved point of a curve from 100
};
void PrintTo(const CurveCase& c, std::ostream* os) { *os << c.keyword; }

class LineCurveClass : public testing::TestWithParam<CurveCase> {};

TEST_P(LineCurveClass, TurningRateAndSide) {
  Esecuzione e = linea(sorgente(std::string(GetParam().keyword) + ",  100,  50\r\n"));
  ASSERT_EQ(e.s.report.StatusCode, 0);
  EXPECT_EQ(e.s.scenario.LineCells.real(100, 0), 0.0);
  EXPECT_EQ(e.s.scenario.LineCells.real(101, 0), GetParam().x_after_start);
  EXPECT_EQ(e.s.scenario.LineCells.real(101, 1), 101.0);
}

INSTANTIATE_TEST_SUITE_P(Keywords, LineCurveClass,
                         testing::Values(CurveCase{"curvad1", 0.0001}, CurveCase{"curvad2", 0.0002},
                                         CurveCase{"curvad3", 0.0004}, CurveCase{"curvad4", 0.001},
                                         CurveCase{"curvad5", 0.002}, CurveCase{"curvad6", 0.003},
                                         CurveCase{"curvas6", -0.003}, CurveCase{"CURVAS14", -0.0001},
                                         CurveCase{"curva41", 0.0001}, CurveCase{"curvaS5", -0.002}),
                         [](const testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.keyword); });

TEST(LineCurves, PlanGoesStraightAfterTheLastCurve) {
  Esecuzione e = linea(sorgente("curvad4,  100,  50\r\n"));
  const LinePlan& p = e.s.scenario.LineCells;
  double dx = p.real(150, 0) - p.real(149, 0);
  double dy = p.real(150, 1) - p.real(149, 1);
  EXPECT_NEAR(p.real(7998, 0), p.real(150, 0) + 7848 * dx, 1e-6);
  EXPECT_NEAR(p.real(7998, 1), p.real(150, 1) + 7848 * dy, 1e-6);
  EXPECT_EQ(p.get(7999, 0).tag, LineTag::Empty);
}

TEST(LineCurves, NotRecognisedWithoutThePlan) {
  Esecuzione e = linea(sorgente("curvad4,  100,  50\r\n"), 0, true);
  EXPECT_EQ(e.s.report.StatusCode, 0);
  EXPECT_FALSE(e.s.scenario.LineCells.exists());
  std::vector<std::pair<std::string, KeywordUse>> want = {
      {"[generale]", KeywordUse::Header}, {"lunghezza percorso", KeywordUse::Record},
      {"[curve]", KeywordUse::Header},    {"curvad4", KeywordUse::Unmatched},
      {"100", KeywordUse::Unmatched},     {"50", KeywordUse::Unmatched},
      {"[fine]", KeywordUse::UnreadLast}};
  EXPECT_EQ(chiavi(e), want);
}

TEST(LineCurves, ACurveBehindTheCounterOnlyCurvesOn) {
  Esecuzione e = linea(sorgente("curvad4,  100,  100\r\ncurvas4,  150,  100\r\n"));
  ASSERT_EQ(e.s.report.StatusCode, 0);
  // Point 201 continues the right curve's direction turned left once.
  const LinePlan& p = e.s.scenario.LineCells;
  double dx = p.real(200, 0) - p.real(199, 0);
  double dy = p.real(200, 1) - p.real(199, 1);
  EXPECT_EQ(p.real(201, 0), p.real(200, 0) + (dx + -0.001 * dy));
}

// ---------------------------------------------------------------------------
// The general section.

struct GeneralCase {
  const char* name;
  std::string source;
  int row;
  std::int32_t start, end, position;
};
void PrintTo(const GeneralCase& c, std::ostream* os) { *os << c.name; }

class LineGeneral : public testing::TestWithParam<GeneralCase> {};

TEST_P(LineGeneral, Row) {
  Esecuzione e = linea(GetParam().source);
  ASSERT_EQ(e.s.report.StatusCode, 0);
  const ScenarioRecord& r = e.s.scenario.ScenarioTable[GetParam().row];
  EXPECT_EQ(r.Start, GetParam().start);
  EXPECT_EQ(r.End, GetParam().end);
  EXPECT_EQ(r.Position, GetParam().position);
}

std::string generale(const std::string& records) {
  return "[generale]\r\nlunghezza percorso, 1000\r\n" + records + "[curve]\r\n[fine]\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Records, LineGeneral,
    testing::Values(
        GeneralCase{"CapitalMarker", "x,y\r\n[GENERALE]\r\nLUNGHEZZA PERCORSO, 2000\r\n[x]\r\n[fine]\r\n", 84, 0, 2000,
                    0},
        GeneralCase{"Chainage", generale("progressiva tre, 500, 700, 0\r\n"), 81, 500, 700, 0},
        GeneralCase{"ChainageInCapitalsIgnored", generale("PROGRESSIVA tre, 500, 700, 0\r\n"), 81, 0, 0, 0},
        GeneralCase{"Backgrounds", generale("sfondo uno, 5\r\nsfondo due, 6\r\nsfondo tre, 7\r\n"), 85, 5, 7, 6},
        GeneralCase{"OneFieldManyRecords", generale("sfondo uno due, 5, 6\r\n"), 85, 5, 0, 6},
        GeneralCase{"Repetition4", generale("ripetizione segnali 4 codici,    0    ,0\r\n"), 86, 0, 0, 0},
        GeneralCase{"Repetition9", generale("ripetizione segnali 9, 100, 200\r\n"), 86, 100, 200, 9},
        GeneralCase{"Repetition4And9", generale("ripetizione segnali 9 o 4, 100, 200\r\n"), 86, 100, 200, 4},
        GeneralCase{"RepetitionEndZero", generale("ripetizione segnali 9, 100, 0\r\n"), 86, 100, 0, 0},
        GeneralCase{"RepetitionNegativeMultiple", generale("ripetizione segnali 4, -50, -100\r\n"), 86, -50, -100, 4},
        GeneralCase{"TenCommentsSkipped",
                    "[generale]\r\n-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,lunghezza percorso, 3000\r\n[x]\r\n[fine]\r\n", 84, 0,
                    3000, 0}),
    [](const testing::TestParamInfo<GeneralCase>& info) { return std::string(info.param.name); });

TEST(LineGeneral, EleventhCommentIsExaminedAsItStands) {
  Esecuzione e = linea("[generale]\r\n-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,-[x],lunghezza percorso, 3000\r\n[x]\r\n[fine]\r\n",
                       1, true);
  EXPECT_EQ(e.s.scenario.ScenarioTable[84].End, 3000);
  const auto read = chiavi(e);
  ASSERT_GE(read.size(), 13u);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(read[static_cast<std::size_t>(i)].second, KeywordUse::Comment) << i;
  // Examined: it begins with "-", so it is no header, and the comments before it used up the skips.
  EXPECT_EQ(read[11], std::make_pair(std::string("-[x]"), KeywordUse::Unmatched));
  EXPECT_TRUE(e.s.account->keywords[11].comment_read_as_keyword);
  EXPECT_FALSE(e.s.account->keywords[10].comment_read_as_keyword);
  EXPECT_EQ(read[12], std::make_pair(std::string("lunghezza percorso"), KeywordUse::Record));
}

// ---------------------------------------------------------------------------
// Body reading: comments, headers, the last field, records after "[fine]".

struct BodyCase {
  const char* name;
  std::string source;
  std::uint8_t cell_20_gradient;
};
void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.name; }

class LineBody : public testing::TestWithParam<BodyCase> {};

TEST_P(LineBody, GradientRead) {
  Esecuzione e = linea(GetParam().source);
  ASSERT_EQ(e.s.report.StatusCode, 0);
  EXPECT_EQ(e.s.scenario.TrainCells[20].Byte5, GetParam().cell_20_gradient);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineBody,
    testing::Values(
        BodyCase{"CommentWithCommasYieldsARecord", sorgente("- nota, pendenza, 500, 3\r\n"), 103},
        BodyCase{"TwoCommentsSkipped", sorgente("-a,-b,pendenza, 500, 4\r\n"), 104},
        BodyCase{"RecordAfterFine", sorgente("") + "pendenza,  500,   5\r\n", 105},
        BodyCase{"HeaderWithAKeywordStartsIt", sorgente("[pendenza], 500, 6\r\n"), 106},
        BodyCase{"SectionHeadersIgnored", sorgente("[pendenze]\r\n[montagne]\r\n[cartelli]\r\n[indicazioni]\r\n"),
                 100},
        BodyCase{"LastKeywordFieldNeverExamined", sorgente("") + "pendenza", 100},
        BodyCase{"LastFieldAfterACommentNeverExamined", sorgente("") + "-x,pendenza", 100},
        BodyCase{"RecordEndingTheFileIsRead", sorgente("") + "pendenza, 500, 7", 107}),
    [](const testing::TestParamInfo<BodyCase>& info) { return std::string(info.param.name); });

TEST(LineBody, ThirdCommentInARowIsAKeywordField) {
  Esecuzione e = linea(sorgente("-a,-b,-c,pendenza, 500, 4\r\n"), 1, true);
  const auto notes = chiavi(e);
  ASSERT_EQ(notes.size(), 8u);
  EXPECT_EQ(notes[3], std::make_pair(std::string("-a"), KeywordUse::Comment));
  EXPECT_EQ(notes[4], std::make_pair(std::string("-b"), KeywordUse::Comment));
  EXPECT_EQ(notes[5], std::make_pair(std::string("-c"), KeywordUse::Unmatched));
  EXPECT_TRUE(e.s.account->keywords[5].comment_read_as_keyword);
  EXPECT_EQ(notes[6], std::make_pair(std::string("pendenza"), KeywordUse::Record));
}

TEST(LineBody, EmptyBodyIsStraightAndLevel) {
  Esecuzione e = linea("[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n");
  ASSERT_EQ(e.s.report.StatusCode, 0);
  EXPECT_TRUE(e.result.train_pass_follows);
  EXPECT_EQ(pendenze(e.s, 0, 157), std::vector<std::uint8_t>(158, 100));
  EXPECT_EQ(pendenze(e.s, 158, 160), std::vector<std::uint8_t>(3, 0));
  EXPECT_EQ(e.s.scenario.LineCells.real(7998, 0), 0.0);
  EXPECT_EQ(e.s.scenario.LineCells.real(7998, 1), 7998.0);
  EXPECT_EQ(e.s.scenario.LineCells.get(7999, 1).tag, LineTag::Empty);
}

TEST(LineBody, AccountHoldsEachFieldsRangeAndAFailureItsField) {
  std::string text = sorgente("pendenza, 500, 3  \r\n");
  Esecuzione e = linea(text, 1, true);
  const Account& a = *e.s.account;
  ASSERT_EQ(a.records.size(), 2u);
  const AccountRecord& gradient = a.records[1];
  EXPECT_EQ(gradient.kind, RecordKind::Gradient);
  EXPECT_EQ(gradient.start, text.find("pendenza"));
  EXPECT_EQ(gradient.end, text.find("3  \r\n[fine]") + 1);  // a number ends at its last digit
  ASSERT_EQ(gradient.field_count, 2u);
  EXPECT_EQ(a.fields_of(gradient)[0].start, text.find("500"));
  EXPECT_EQ(a.fields_of(gradient)[0].end, text.find("500") + 3);

  std::string bad = sorgente("pendenza, 500, tre\r\n");
  Esecuzione f = dati(bad);
  ASSERT_FALSE(f.s.report.Diagnostics.empty());
  EXPECT_EQ(f.s.report.Diagnostics.back().record_offset, bad.find("pendenza"));
  EXPECT_EQ(f.s.report.Diagnostics.back().field_offset, bad.find("tre"));
}

// ---------------------------------------------------------------------------
// Bound check.

struct BoundCase {
  const char* name;
  std::string record;
  std::int32_t code;
  std::int32_t position;
};
void PrintTo(const BoundCase& c, std::ostream* os) { *os << c.name; }

class LineBoundCheck : public testing::TestWithParam<BoundCase> {};

// Route 96000: CellCount 2060, so a first value up to 102900 passes.
TEST_P(LineBoundCheck, FirstValueAgainstCellCount) {
  std::string after = "cartello_indicatore, 100, (dopo)\r\n";
  Esecuzione e = linea(sorgente("pendenza, 0, 2\r\n" + GetParam().record + after, 96000));
  EXPECT_EQ(e.s.report.StatusCode, GetParam().code);
  EXPECT_EQ(e.s.report.StatusPosition, GetParam().position);
  EXPECT_TRUE(e.result.train_pass_follows);
  EXPECT_FALSE(e.sources.exists(SourceId::Line));
  // The rest of the source is read only when the check passed.
  EXPECT_EQ(e.s.scenario.ScenarioTable[80].Name, GetParam().code == 0 ? "(dopo)" : "");
  // The completions run either way.
  EXPECT_EQ(e.s.scenario.TrainCells[2057].Byte5, 102);
  EXPECT_EQ(e.s.scenario.LineCells.get(102998, 1).tag, LineTag::Real);
}

INSTANTIATE_TEST_SUITE_P(
    Records, LineBoundCheck,
    testing::Values(BoundCase{"GradientAt102900", "pendenza, 102900, 2\r\n", 0, 0},
                    BoundCase{"GradientAt102950", "pendenza, 102950, 9\r\n", 15, 102950},
                    BoundCase{"CurveStart", "curvad4, 102950, 50\r\n", 15, 102950},
                    BoundCase{"RangeStart", "montagna, 102950, 103000, 1\r\n", 15, 102950},
                    BoundCase{"IndicatorPosition", "indicatori_vmax, 103000, 80, 80, 80, 0, , , , 0\r\n", 15,
                              103000},
                    BoundCase{"SignPosition", "cartello_indicatore, 102950, (x)\r\n", 15, 102950}),
    [](const testing::TestParamInfo<BoundCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Endings: status, position, the train pass and the line source.

struct EndingCase {
  const char* name;
  std::optional<std::string> source;
  std::int32_t code;
  std::int32_t position;  // 777 when not set
  bool follows;
  bool line_left;
};
void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.name; }

class LineEnding : public testing::TestWithParam<EndingCase> {};

TEST_P(LineEnding, StatusAndSource) {
  const EndingCase& c = GetParam();
  Esecuzione e;
  e.s.report.StatusPosition = 777;
  e.s.CompileLine = 1;
  e.sources = SourceFiles::in_memory(c.source, kTrain);
  leggi(e);
  EXPECT_EQ(e.s.report.StatusCode, c.code);
  EXPECT_EQ(e.s.report.StatusPosition, c.position);
  EXPECT_EQ(e.result.train_pass_follows, c.follows);
  EXPECT_EQ(e.sources.exists(SourceId::Line), c.line_left);
  EXPECT_TRUE(e.sources.exists(SourceId::Train));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LineEnding,
    testing::Values(
        EndingCase{"Complete", sorgente(""), 0, 777, true, false},
        EndingCase{"NoLineSource101", std::nullopt, 101, 777, false, false},
        EndingCase{"NoMarker102", "abc, def\r\n[fine]\r\n", 102, 777, false, false},
        EndingCase{"MarkerLastField102", "abc\r\n[generale]\r\n", 102, 777, false, false},
        EndingCase{"RouteTooLong1", "[generale]\r\nlunghezza percorso, 1000001\r\n[x]\r\n[fine]\r\n", 1, 777, false,
                   false},
        EndingCase{"RepetitionStart3", generale("ripetizione segnali 4, 125, 200\r\n"), 3, 777, false, false},
        EndingCase{"RepetitionEnd4", generale("ripetizione segnali 4, 100, 210\r\n"), 4, 777, false, false},
        EndingCase{"RepetitionCodes5", generale("ripetizione segnali, 100, 200\r\n"), 5, 777, false, false},
        EndingCase{"CurveWithoutClass103", sorgente("curva, 100, 50\r\npendenza, 0, 3\r\n"), 103, 777, false, false},
        EndingCase{"CurveClassSeven103", sorgente("curvad7, 100, 50\r\n"), 103, 777, false, false},
        EndingCase{"PlanPastOneMillion103",
                   "[generale]\r\nlunghezza percorso, 1000000\r\n[x]\r\ncurvad4, 999950, 100\r\n[fine]\r\n", 103, 777,
                   false, false},
        // The plan may run to point 999,999; a curve that writes point
        // 1,000,000 cannot advance past it.
        EndingCase{"PlanToPoint999999",
                   "[generale]\r\nlunghezza percorso, 1000000\r\n[x]\r\ncurvad4, 999900, 99\r\n[fine]\r\n", 0, 777,
                   true, false},
        EndingCase{"PlanToPoint1000000",
                   "[generale]\r\nlunghezza percorso, 1000000\r\n[x]\r\ncurvad4, 999900, 100\r\n[fine]\r\n", 103,
                   777, false, false},
        EndingCase{"BoardOnASign21",
                   sorgente("cartello_indicatore, 550, (x)\r\nindicatori_vmax, 550, 80, 80, 80, 0, , , , 0\r\n"), 21,
                   550, false, false},
        EndingCase{"SignOnABoard6",
                   sorgente("indicatori_vmax, 550, 80, 80, 80, 0, , , , 0\r\ncartello_indicatore, 550, (x)\r\n"), 6,
                   550, false, false},
        EndingCase{"SignOnASign6", sorgente("cartello_indicatore, 75, (a)\r\ncartello_indicatore, 50, (b)\r\n"), 6,
                   50, false, false},
        EndingCase{"BoundCheck15", sorgente("pendenza, 8000, 1\r\n"), 15, 8000, true, false}),
    [](const testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

TEST(LineEnding, RouteLengthAtTheLimitPasses) {
  Esecuzione e = linea("[generale]\r\nlunghezza percorso, 1000000\r\n[x]\r\n[fine]\r\n");
  EXPECT_EQ(e.s.report.StatusCode, 0);
  EXPECT_EQ(e.s.scenario.CellCount, 20140);
  EXPECT_EQ(e.s.scenario.LineCells.real(1006998, 1), 1006998.0);
}

// ---------------------------------------------------------------------------
// Runtime failures: the recovery sets 25, deletes both sources and keeps the
// position; the reason is kept for the authors' tool.

struct FailureCase {
  const char* name;
  std::string source;
  std::string failure;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class LineFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(LineFailure, Recovered) {
  Esecuzione e = dati(GetParam().source);
  EXPECT_EQ(e.s.report.StatusCode, 25);
  EXPECT_EQ(e.s.report.StatusPosition, 777);
  EXPECT_FALSE(e.sources.exists(SourceId::Line));
  EXPECT_FALSE(e.sources.exists(SourceId::Train));
  EXPECT_EQ(frase_del_guasto(e.s.report), GetParam().failure);
}

std::string ottantuno_cartelli() {
  std::string body;
  for (int i = 1; i <= 81; ++i) body += "cartello_indicatore, " + std::to_string(100 * i) + ", (c)\r\n";
  return sorgente(body, 10000);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineFailure,
    testing::Values(
        FailureCase{"NumberTooLarge", sorgente("pendenza, 4294967296, 1\r\n"),
                    "line 4: '4294967296' does not fit a 32-bit number"},
        FailureCase{"TextInANumber", sorgente("montagna, 100, due, 11\r\n"), "line 4: 'due' is not a number"},
        FailureCase{"RecordCutByTheEnd", sorgente("") + "pendenza, 500",
                    "line 5: a number was expected but the text has ended"},
        FailureCase{"EmptyText", "", "line 1: a field was expected but the text has ended"},
        FailureCase{"GeneralCommentsPastTheEnd", "[generale]\r\n-a,-b\r\n",
                    "line 3: a field was expected but the text has ended"},
        FailureCase{"NoRouteLength", "[generale]\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n",
                    "the line source has no route length record before its body, so there are no train cells"},
        FailureCase{"NegativeRouteLength", "[generale]\r\nlunghezza percorso, -8000\r\n[x]\r\n[fine]\r\n",
                    "route length -8000 gives no train cells"},
        FailureCase{"EightyFirstSign", ottantuno_cartelli(),
                    "the sign at 8100 m has no scenario row left (rows 80 to 1 hold signs already)"},
        FailureCase{"CurvePastThePlan", sorgente("curvad4, 7000, 1050\r\n"),
                    "line plan point 8001 is outside 0..8000"},
        FailureCase{"GradientFillPastTheCells",
                    sorgente("pendenza, 7900, 1\r\npendenza, 7900, 1\r\npendenza, 7900, 1\r\npendenza, 7900, 1\r\n"
                             "pendenza, 7900, 1\r\n"),
                    "train cell 161 is outside 0..160"},
        FailureCase{"SignBeforeTheFirstCell", sorgente("cartello_indicatore, -100, (x)\r\n"),
                    "train cell -1 is outside 0..160"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario
