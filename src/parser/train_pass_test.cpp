// The train pass: records, stations, profiles, endings and read failures.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/compile_state.h"
#include "platform/failure.h"
#include "model/source_files.h"
#include "model/status.h"
#include "parser/passes.h"

namespace scenario {
namespace {

std::string testo(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// A station line with the given position, kind, length and flags; the other
// numbers are those of an ordinary stop at 8:07:00.
std::string stazione(int position, int kind, int length, int byte4 = 0, int byte3 = 0,
                     const std::string& name = "STAZIONE") {
  return "stazione, " + std::to_string(position) + ", " + std::to_string(kind) + ", " + std::to_string(length) +
         ", 1, " + std::to_string(byte4) + ", " + std::to_string(byte3) + ", 4,1,0, 2,1,1, 30, 8, 7, 0, " + name;
}

class TrainPass : public testing::Test {
 protected:
  void SetUp() override { crea_celle(s, 96000); }

  void run(const std::string& text, std::int32_t next_sign_row = kFirstSignRow) {
    read = text;
    sources = SourceFiles::in_memory(std::nullopt, text);
    PassState ps(s);
    leggi_treno(ps, sources, next_sign_row);
  }

  int count_cells(std::uint8_t kind) const {
    int n = 0;
    for (const TrainCell& c : s.scenario.TrainCells) n += c.Kind == kind;
    return n;
  }

  // The keyword fields the account holds, as (text, use).
  std::vector<std::pair<std::string, KeywordUse>> keywords() const {
    std::vector<std::pair<std::string, KeywordUse>> out;
    for (const KeywordEntry& k : s.account->keywords) out.emplace_back(testo_di(read, k.start, k.end), k.use);
    return out;
  }

  CompileState s;
  std::string read;
  SourceFiles sources = SourceFiles::in_memory(std::nullopt, std::nullopt);
};

// ---------------------------------------------------------------------------
// The built-in train source.

class BuiltInTrain : public TrainPass {
 protected:
  void SetUp() override {
    TrainPass::SetUp();
    s.account.emplace();
    run(render_lines(righe_treno()), 64);  // the built-in line leaves row 64 free
  }

  int records_starting(const std::string& keyword) const {
    int n = 0;
    for (const auto& [text, use] : keywords()) n += use == KeywordUse::Record && text.starts_with(keyword);
    return n;
  }
};

TEST_F(BuiltInTrain, ReadsBackEveryRecordAndEndsCleanly) {
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.report.StatusPosition, 0);
  EXPECT_FALSE(sources.exists(SourceId::Train));
  EXPECT_EQ(records_starting("numero vetture"), 1);
  EXPECT_EQ(records_starting("stazione"), 18);
  EXPECT_EQ(records_starting("velocita"), 5);
  EXPECT_EQ(records_starting("aderenza"), 1);
  EXPECT_EQ(records_starting("segnale"), 23);
  EXPECT_EQ(records_starting("[rallentamenti]"), 0);
  EXPECT_EQ(records_starting("[codici]"), 0);
  EXPECT_EQ(count_cells(kind::kSignal), 23);
  EXPECT_EQ(keywords().back(), std::make_pair(std::string("[fine]"), KeywordUse::UnreadLast));
}

TEST_F(BuiltInTrain, GeneralRows) {
  EXPECT_EQ(s.scenario.ScenarioTable[84].Start, 120);
  EXPECT_EQ(s.scenario.ScenarioTable[84].Position, 3);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word1, 300);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word3, 8);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word4, 6);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word5, 30);
}

TEST_F(BuiltInTrain, StationRowsOneToEighteen) {
  const std::int32_t positions[18] = {0,     4900,  11400, 11950, 13100, 17150, 21750, 28650, 41400,
                                      45250, 49100, 57350, 67700, 76600, 82950, 85850, 87450, 95900};
  for (int r = 1; r <= 18; ++r) {
    EXPECT_EQ(s.scenario.ScenarioTable[r].Position, positions[r - 1]) << "row " << r;
    EXPECT_EQ(s.scenario.ScenarioTable[r].Name, names::kStations[r - 1].source) << "row " << r;
  }
  EXPECT_EQ(s.scenario.ScenarioTable[19], ScenarioRecord{});

  ScenarioRecord first;
  first.Kind = 12;
  first.Start = -250;
  first.End = 250;
  first.Position = 0;
  first.Flag = 1;
  first.Name = "CASTROVELDE";
  first.Word1 = 4;
  first.Word2 = 1;
  first.Word3 = 2;
  first.Word4 = 1;
  first.Word5 = 1;
  first.Byte2 = 1;
  first.Time = 29220;  // 8:07:00
  EXPECT_EQ(s.scenario.ScenarioTable[1], first);

  // The last station is 600 m long, so its second flag stays.
  const ScenarioRecord& last = s.scenario.ScenarioTable[18];
  EXPECT_EQ(last.Kind, 2);
  EXPECT_EQ(last.Start, 95600);
  EXPECT_EQ(last.End, 96200);
  EXPECT_EQ(last.Byte4, 1);
  EXPECT_EQ(last.Time, 37380);  // 10:23:00
}

TEST_F(BuiltInTrain, FirstStationStoppingPointAndMarks) {
  EXPECT_EQ(s.scenario.TrainCells[4].Kind, kind::kStop);
  EXPECT_EQ(s.scenario.TrainCells[4].Word1, 1);
  EXPECT_EQ(s.scenario.TrainCells[3].Byte2, 81);
  EXPECT_EQ(s.scenario.TrainCells[2].Byte2, 82);
  EXPECT_EQ(s.scenario.TrainCells[1].Byte2, 0);
  EXPECT_EQ(s.scenario.TrainCells[0].Byte2, 0);
  // Stations of kind 25 and above (seven of them) have no stopping point.
  EXPECT_EQ(count_cells(kind::kStop), 11);
}

TEST_F(BuiltInTrain, SpeedAndAdhesionProfiles) {
  struct Span {
    int first, last;
    std::uint8_t fifths;
  };
  const int last_written = s.scenario.CellCount - 3;
  const Span speeds[] = {{0, 491, 16}, {492, 634, 8}, {635, 674, 16}, {675, 703, 8}, {704, last_written, 16},
                         {last_written + 1, s.scenario.CellCount, 0}};
  for (const Span& sp : speeds) {
    for (int c = sp.first; c <= sp.last; ++c) ASSERT_EQ(s.scenario.TrainCells[c].Byte4, sp.fifths) << "cell " << c;
  }
  for (int c = 0; c <= s.scenario.CellCount; ++c) {
    ASSERT_EQ(s.scenario.TrainCells[c].Byte6, c <= last_written ? 100 : 0) << "cell " << c;
  }
}

// ---------------------------------------------------------------------------
// Stations by kind: zones, flags, stopping point and approach marks. A first
// station of kind 26 stands before, so the tested one is row 2 and keeps its
// flags.

struct KindCase {
  int kind, length, byte4_in, byte3_in;
  int start, end, byte4, byte3;
  int stop_cell;  // -1: none
  bool marks;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << "Kind" << c.kind << "Length" << c.length; }

class TrainStationKind : public TrainPass, public testing::WithParamInterface<KindCase> {};

TEST_P(TrainStationKind, ZoneStopAndMarks) {
  const KindCase& k = GetParam();
  run(testo({"[generale]", stazione(0, 26, 200), stazione(5000, k.kind, k.length, k.byte4_in, k.byte3_in), "[fine]"}));
  ASSERT_EQ(s.report.StatusCode, 0);
  const ScenarioRecord& row = s.scenario.ScenarioTable[2];
  EXPECT_EQ(row.Kind, k.kind);
  EXPECT_EQ(row.Position, 5000);
  EXPECT_EQ(row.Start, k.start);
  EXPECT_EQ(row.End, k.end);
  EXPECT_EQ(row.Byte4, k.byte4);
  EXPECT_EQ(row.Byte3, k.byte3);
  EXPECT_EQ(count_cells(kind::kStop), k.stop_cell >= 0 ? 1 : 0);
  if (k.stop_cell >= 0) {
    EXPECT_EQ(s.scenario.TrainCells[k.stop_cell].Kind, kind::kStop);
    EXPECT_EQ(s.scenario.TrainCells[k.stop_cell].Word1, 2);
  }
  int marked = 0;
  for (const TrainCell& c : s.scenario.TrainCells) marked += c.Byte2 != 0;
  EXPECT_EQ(marked, k.marks ? 4 : 0);
  if (k.marks) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(s.scenario.TrainCells[k.stop_cell - j].Byte2, 80 + j) << "mark " << j;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TrainStationKind,
    testing::Values(KindCase{26, 200, 0, 0, 4900, 5100, 0, 0, -1, false},
                    KindCase{27, 200, 0, 0, 4900, 5100, 0, 0, -1, false},
                    KindCase{28, 400, 1, 1, 4800, 5250, 0, 1, -1, false},
                    KindCase{25, 200, 0, 0, 4900, 5100, 0, 0, -1, false},
                    KindCase{5, 300, 0, 1, 4700, 5150, 0, 0, 102, false},
                    KindCase{6, 600, 1, 1, 4400, 5150, 1, 0, 102, false},
                    KindCase{7, 300, 0, 1, 4700, 5300, 0, 0, 105, true},
                    KindCase{8, 600, 1, 0, 4400, 5600, 1, 0, 111, true},
                    KindCase{12, 600, 1, 1, 4700, 5350, 1, 1, 106, true},
                    KindCase{22, 500, 1, 0, 4750, 5250, 0, 0, 104, true},
                    KindCase{24, 200, 0, 0, 4900, 5100, 0, 0, 101, true}),
    [](const testing::TestParamInfo<KindCase>& info) {
      return "Kind" + std::to_string(info.param.kind) + "Length" + std::to_string(info.param.length);
    });

TEST_F(TrainPass, FirstStationLosesBothFlagsButKeepsItsLongerEnd) {
  run(testo({"[generale]", stazione(5000, 12, 600, 1, 1), "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[1].End, 5350);
  EXPECT_EQ(s.scenario.ScenarioTable[1].Byte3, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[1].Byte4, 0);
}

TEST_F(TrainPass, StationZoneExactly350MetresAfterThePreviousIsAccepted) {
  // Zone -100..100, then 450..650.
  run(testo({"[generale]", stazione(0, 26, 200), stazione(550, 26, 200), "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[2].Start, 450);
}

TEST_F(TrainPass, StoppingPointReplacesWhatTheLinePassPlaced) {
  for (std::uint8_t placed : {kind::kSpeedBoard, kind::kSign}) {
    SCOPED_TRACE(static_cast<int>(placed));
    crea_celle(s, 96000);
    s.scenario.TrainCells[104] = TrainCell{placed, 1600, 1600, 1600, 7};
    run(testo({"[generale]", stazione(5000, 12, 500), "[fine]"}));
    EXPECT_EQ(s.report.StatusCode, 0);
    EXPECT_EQ(s.scenario.TrainCells[104], (TrainCell{kind::kStop, 1, 1600, 1600, 7}));
  }
}

// ---------------------------------------------------------------------------
// Records that start several records, comments, names with commas.

TEST_F(TrainPass, OneFieldStartsEveryRecordItHolds) {
  run(testo({"[generale]", "segnale stazione, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0, " + stazione(5000, 12, 500).substr(10),
             "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.TrainCells[215].Kind, kind::kSignal);
  EXPECT_EQ(s.scenario.TrainCells[215].Word1, 40);
  EXPECT_EQ(s.scenario.ScenarioTable[1].Position, 5000);
  EXPECT_EQ(s.scenario.ScenarioTable[1].Name, "STAZIONE");
}

struct SandCase {
  const char* name;
  std::string text;
  std::int16_t sand;
};
void PrintTo(const SandCase& c, std::ostream* os) { *os << c.name; }

class TrainSandProbe : public TrainPass, public testing::WithParamInterface<SandCase> {};

TEST_P(TrainSandProbe, ReadsTheRecordOrNot) {
  run(GetParam().text);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word1, GetParam().sand);
  EXPECT_FALSE(sources.exists(SourceId::Train));
}

INSTANTIATE_TEST_SUITE_P(
    Reader, TrainSandProbe,
    testing::Values(
        SandCase{"NoGeneraleMarker", testo({"sabbia, 300", "[fine]"}), 0},
        SandCase{"MarkerInCapitals", testo({"[GENERALE]", "sabbia, 300", "[fine]"}), 300},
        SandCase{"KeywordInCapitals", testo({"[generale]", "Sabbia, 300", "[fine]"}), 300},
        SandCase{"CommentLineBefore", testo({"[generale]", "- una nota senza virgole", "sabbia, 300", "[fine]"}), 300},
        SandCase{"TwoCommentsBefore", testo({"[generale]", "-uno", "-due", "sabbia, 300", "[fine]"}), 300},
        // The third field holding "-" is taken as the keyword field.
        SandCase{"ThirdCommentIsAKeyword", testo({"[generale]", "-uno", "-due", "-sabbia, 300", "[fine]"}), 300},
        SandCase{"LoneKeywordAtTheEnd", testo({"[generale]", "sabbia"}), 0},
        SandCase{"RecordOnTheLastLine", "[generale]\r\nsabbia, 300", 300},
        SandCase{"RecordAfterTheEndHeader", testo({"[generale]", "[fine]", "sabbia, 300"}), 300},
        SandCase{"HeaderIsNoRecord", testo({"[generale]", "[sabbie]", "300", "[fine]"}), 0},
        // The name ends at the comma; the rest is the next keyword field.
        SandCase{"StationNameWithAComma", testo({"[generale]", stazione(5000, 12, 500, 0, 0, "BORGO, sabbia, 300"), "[fine]"}),
                 300}),
    [](const testing::TestParamInfo<SandCase>& info) { return std::string(info.param.name); });

TEST_F(TrainPass, ClockSeparatedByBlanks) {
  run(testo({"[generale]", "orologio,    8               6             30 ", "[fine]"}));
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word3, 8);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word4, 6);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word5, 30);
}

TEST_F(TrainPass, AccountsForEveryKeywordFieldAndTheRecordThatEndedThePass) {
  s.account.emplace();
  // Offsets: "prima" 0, "x" 8, "[generale]" 11, "-nota" 23, "sabbia" 30, "[stazioni]" 43, "stazione" 55.
  std::string text = testo({"prima", ",x", "[generale]", "-nota", "sabbia, 300", "[stazioni]", "stazione, 5025"});
  run(text);
  // The preamble's fields are one run; the station's fields run out at the end.
  const std::vector<std::pair<std::string, KeywordUse>> want = {
      {"prima\r\n,x", KeywordUse::Preamble}, {"[generale]", KeywordUse::Header}, {"-nota", KeywordUse::Comment},
      {"sabbia", KeywordUse::Record},        {"[stazioni]", KeywordUse::Header}, {"stazione", KeywordUse::Record}};
  EXPECT_EQ(keywords(), want);
  const std::size_t starts[] = {0, 11, 23, 30, 43, 55};
  for (std::size_t i = 0; i < std::size(starts); ++i) {
    EXPECT_EQ(s.account->keywords[i].start, starts[i]) << i;
    EXPECT_EQ(s.account->keywords[i].source, SourceId::Train) << i;
  }
  EXPECT_EQ(s.report.StatusCode, 8);
  ASSERT_EQ(s.report.Diagnostics.size(), 1u);
  EXPECT_EQ(s.report.Diagnostics[0].record_offset, 55u);
  EXPECT_EQ(s.report.Diagnostics[0].field_offset, text.find("5025"));
}

// ---------------------------------------------------------------------------
// Profiles.

TEST_F(TrainPass, SpeedRowsFillUpToTheNextRow) {
  run(testo({"[generale]", "velocita, 0, 80", "velocita, 24600, 40", "velocita, 31750, 80"}));
  for (int c = 0; c <= 491; ++c) ASSERT_EQ(s.scenario.TrainCells[c].Byte4, 16) << c;
  for (int c = 492; c <= 634; ++c) ASSERT_EQ(s.scenario.TrainCells[c].Byte4, 8) << c;
  for (int c = 635; c <= 2057; ++c) ASSERT_EQ(s.scenario.TrainCells[c].Byte4, 16) << c;
}

TEST_F(TrainPass, BeforeTheFirstRowSpeedAndAdhesionAreZero) {
  run(testo({"[generale]", "velocita, 500, 80", "aderenza, 1000, 90", "[fine]"}));
  for (int c = 0; c < 10; ++c) EXPECT_EQ(s.scenario.TrainCells[c].Byte4, 0) << c;
  EXPECT_EQ(s.scenario.TrainCells[10].Byte4, 16);
  for (int c = 0; c < 20; ++c) EXPECT_EQ(s.scenario.TrainCells[c].Byte6, 0) << c;
  EXPECT_EQ(s.scenario.TrainCells[20].Byte6, 90);
}

TEST_F(TrainPass, TailsWriteAtLeastOneCell) {
  s.scenario.CellCount = 2;  // a tiny array: the tails stop before CellCount - 2 = 0
  s.scenario.TrainCells.assign(3, TrainCell{});
  run(testo({"[generale]", "velocita, 0, 80", "aderenza, 0, 90", "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.TrainCells[0].Byte4, 16);
  EXPECT_EQ(s.scenario.TrainCells[0].Byte6, 90);
  EXPECT_EQ(s.scenario.TrainCells[1], TrainCell{});
  EXPECT_EQ(s.scenario.TrainCells[2], TrainCell{});
}

// ---------------------------------------------------------------------------
// Endings with a code. `stopped`: the pass ended at once (no profile tails);
// otherwise the reading ended and the end of pass ran.

struct EndingCase {
  const char* name;
  std::vector<std::string> lines;
  std::int32_t code;
  std::int32_t position;
  bool stopped;
  std::int32_t next_sign_row = kFirstSignRow;
  std::int32_t code_before = 0;
  std::int32_t chainage_start = 0;  // row 81 Start before the pass
};
void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.name; }

class TrainEnding : public TrainPass, public testing::WithParamInterface<EndingCase> {};

TEST_P(TrainEnding, SetsTheCodeAndDeletesTheSource) {
  const EndingCase& e = GetParam();
  s.report.StatusCode = e.code_before;
  s.report.StatusPosition = 777;
  s.scenario.ScenarioTable[81].Start = e.chainage_start;
  std::vector<std::string> lines = {"[generale]", "aderenza, 0, 100"};
  lines.insert(lines.end(), e.lines.begin(), e.lines.end());
  lines.push_back("sabbia, 300");  // never reached
  lines.push_back("[fine]");
  run(testo(lines), e.next_sign_row);
  EXPECT_EQ(s.report.StatusCode, e.code);
  EXPECT_EQ(s.report.StatusPosition, e.position);
  EXPECT_FALSE(sources.exists(SourceId::Train));
  EXPECT_EQ(s.scenario.TrainCells[2000].Byte6, e.stopped ? 0 : 100);
  if (e.code != 2) {
    EXPECT_EQ(s.scenario.ScenarioTable[86].Word1, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TrainEnding,
    testing::Values(
        EndingCase{"AbbattimentoOnAStoppingPoint", {stazione(5000, 12, 500), "abbattimento, 5200, 40"}, 7, 5200, true},
        EndingCase{"StationNotOnA50Metre", {stazione(5025, 12, 500)}, 8, 5025, true},
        EndingCase{"LengthNotA100Multiple", {stazione(5000, 12, 250)}, 9, 5000, true},
        EndingCase{"TooManyStations", {stazione(0, 26, 200), stazione(5000, 26, 200), stazione(9000, 26, 200)},
                   10, 777, true, 3},
        EndingCase{"ZoneOnly300MetresAfter", {stazione(0, 26, 200), stazione(500, 26, 200)}, 22, 500, true},
        EndingCase{"FirstStopOnCellOne", {stazione(0, 12, 200)}, 24, 777, true},
        EndingCase{"SignalOnAStoppingPoint",
                   {stazione(5000, 12, 500), "segnale, 5150, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0"}, 16, 5150, true},
        EndingCase{"SlowOrderOnAStoppingPoint", {stazione(5000, 12, 500), "rallentamento, 5150, 30, 500, 0, 0, 0"},
                   18, 5150, true},
        EndingCase{"LineCodeThenSignal", {"segnale, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0"}, 15, 10700, true,
                   kFirstSignRow, 15},
        EndingCase{"LineCodeThenSlowOrder", {"rallentamento, 5000, 30, 500, 0, 0, 0"}, 15, 5000, true, kFirstSignRow,
                   15},
        EndingCase{"SpeedBeyondTheArray", {"velocita, 102950, 80"}, 15, 102950, false},
        EndingCase{"AdhesionBeyondTheArray", {"aderenza, 102950, 80"}, 15, 102950, false},
        EndingCase{"SignalBeyondTheArray", {"segnale, 102950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0"}, 15, 102950, false},
        EndingCase{"AbbattimentoBeyondTheArray", {"abbattimento, 102950, 40"}, 15, 102950, false},
        EndingCase{"StationBeyondTheArray", {stazione(102250, 26, 200)}, 15, 102250, false},
        EndingCase{"ChainageNotOnA50Metre", {}, 2, 777, false, kFirstSignRow, 0, 75},
        EndingCase{"ChainageCodeReplaces15", {"velocita, 102950, 80"}, 2, 102950, false, kFirstSignRow, 0, 14725}),
    [](const testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

// The end of the pass wants every chainage change (rows 81 to 83) to start
// and count from a whole cell; one field off in any row gives code 2.
struct ChainageCase {
  const char* name;
  int row;
  std::int32_t start;
  std::int32_t end;
  Status code;
};
void PrintTo(const ChainageCase& c, std::ostream* os) { *os << c.name; }

class TrainChainageCheck : public TrainPass, public testing::WithParamInterface<ChainageCase> {};

TEST_P(TrainChainageCheck, WholeCellsOrCodeTwo) {
  const ChainageCase& c = GetParam();
  for (int row : kChainageRows) {
    s.scenario.ScenarioTable[static_cast<std::size_t>(row)].Start = 14700;
    s.scenario.ScenarioTable[static_cast<std::size_t>(row)].End = 99500;
  }
  s.scenario.ScenarioTable[static_cast<std::size_t>(c.row)].Start = c.start;
  s.scenario.ScenarioTable[static_cast<std::size_t>(c.row)].End = c.end;
  s.report.StatusPosition = 777;
  run(testo({"[generale]", "sabbia, 300", "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, status_number(c.code));
  EXPECT_EQ(s.report.StatusPosition, 777);
  EXPECT_EQ(s.scenario.ScenarioTable[kTrainRow].Word1, 300);  // the whole text was read first
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrainChainageCheck,
    testing::Values(ChainageCase{"AllWhole", 82, 14700, 99500, Status::Ok},
                    ChainageCase{"NegativeWhole", 83, -50, -100, Status::Ok},
                    ChainageCase{"Row81End", 81, 14700, 99525, Status::ChainageNotWhole},
                    ChainageCase{"Row82Start", 82, 14725, 99500, Status::ChainageNotWhole},
                    ChainageCase{"Row82End", 82, 14700, 99510, Status::ChainageNotWhole},
                    ChainageCase{"Row83Start", 83, 14701, 99500, Status::ChainageNotWhole},
                    ChainageCase{"Row83End", 83, 14700, 99549, Status::ChainageNotWhole},
                    ChainageCase{"Row83NegativeStart", 83, -25, 99500, Status::ChainageNotWhole}),
    [](const testing::TestParamInfo<ChainageCase>& info) { return std::string(info.param.name); });

// Rows that do not advance still write one cell each, up to the last cell
// before CellCount; the fourth finds none left and writes nothing, and the
// tail then fills the last cell. The fill never runs past the array.
TEST_F(TrainPass, FourSpeedRowsAtTheLastPositionStopAtTheLastCell) {
  const std::string last = "velocita, 102900, 80";  // (102900 + 100) / 50 is CellCount
  run(testo({"[generale]", last, last, last, last, "sabbia, 300", "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[kTrainRow].Word1, 300);
  EXPECT_EQ(s.scenario.TrainCells[2057].Byte4, 0);
  for (int c = 2058; c <= 2060; ++c) EXPECT_EQ(s.scenario.TrainCells[c].Byte4, 16) << "cell " << c;
}

TEST_F(TrainPass, BoundChecksAcceptTheLastPositions) {
  // (102900 + 100) / 50 and (102200 + 800) / 50 are exactly CellCount.
  run(testo({"[generale]", "velocita, 102900, 80", stazione(102200, 26, 200), "sabbia, 300", "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.ScenarioTable[1].Position, 102200);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word1, 300);
  EXPECT_EQ(s.scenario.TrainCells[2057].Byte4, 0);  // the row at 102900 only took over from cell 2058 on
  EXPECT_EQ(s.scenario.TrainCells[2058].Byte4, 16);
}

TEST_F(TrainPass, AbbattimentoByValue) {
  s.scenario.TrainCells[300].Kind = kind::kRangeMarker;
  s.scenario.TrainCells[300].Byte3 = 2;
  run(testo({"[generale]", "abbattimento, 5000, 35", "abbattimento, 6000, 0", "abbattimento, 15000, 70", "[fine]"}));
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_EQ(s.scenario.TrainCells[100].Kind, kind::kReductionValue);
  EXPECT_EQ(s.scenario.TrainCells[100].Word1, 35);
  EXPECT_EQ(s.scenario.TrainCells[120].Kind, kind::kReductionPlain);
  EXPECT_EQ(s.scenario.TrainCells[120].Word1, 0);
  EXPECT_EQ(s.scenario.TrainCells[300].Kind, kind::kReductionValue);  // a range marker is a free cell
  EXPECT_EQ(s.scenario.TrainCells[300].Byte3, 2);
}

// ---------------------------------------------------------------------------
// Runtime failures: the pass throws; memorizza_dati turns them into 25.

struct FailureCase {
  const char* name;
  std::string text;
  std::string what;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class TrainReadFailure : public TrainPass, public testing::WithParamInterface<FailureCase> {};

TEST_P(TrainReadFailure, Throws) {
  try {
    run(GetParam().text);
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(std::string(f.what()), GetParam().what);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TrainReadFailure,
    testing::Values(
        FailureCase{"EmptyText", "", "line 1: a field was expected but the text has ended"},
        FailureCase{"SpeedFifthAboveAByte", testo({"[generale]", "velocita, 0, 1278", "[fine]"}),
                    "value 255.600000 does not fit a byte"},
        FailureCase{"SandBeyond16Bits", testo({"[generale]", "sabbia, 40000", "[fine]"}),
                    "line 2: '40000' does not fit a 16-bit number"},
        FailureCase{"StationKindBeyondAByte", testo({"[generale]", stazione(5000, 300, 500), "[fine]"}),
                    "line 2: '300' does not fit a byte (0 to 255)"},
        FailureCase{"RecordCutByTheEnd", "[generale]\r\nvelocita, 100",
                    "line 2: a number was expected but the text has ended"},
        FailureCase{"AbbattimentoBeforeTheRoute", testo({"[generale]", "abbattimento, -200, 5", "[fine]"}),
                    "train cell -4 is outside 0..2060"},
        // Rows that do not advance still move the adhesion fill on by one cell.
        FailureCase{"AdhesionFillPastTheLastCell",
                    testo({"[generale]", "aderenza, 102900, 1", "aderenza, 102900, 1", "aderenza, 102900, 1",
                           "aderenza, 102900, 1", "aderenza, 102900, 1", "[fine]"}),
                    "train cell 2061 is outside 0..2060"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(TrainPass, AFailedReadIsRecordedAtItsField) {
  const std::string text = testo({"[generale]", "sabbia, 300", "orologio, 8 99999 30", "[fine]"});
  EXPECT_THROW(run(text), Failure);
  ASSERT_FALSE(s.report.Diagnostics.empty());
  EXPECT_EQ(s.report.Diagnostics.back().record_offset, text.find("orologio"));
  EXPECT_EQ(s.report.Diagnostics.back().field_offset, text.find("99999"));
}

TEST_F(TrainPass, MissingTrainSourceIsAFailure) {
  sources = SourceFiles::in_memory(std::nullopt, std::nullopt);
  PassState ps(s);
  EXPECT_THROW(leggi_treno(ps, sources, kFirstSignRow), Failure);
}

}  // namespace
}  // namespace scenario
