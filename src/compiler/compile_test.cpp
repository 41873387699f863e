// What compile() records about a broken source: status, record, field, cell, and the typed failure.
#include "compiler/compile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "compiler/memorizza_percorso.h"
#include "parser/field_reader.h"

namespace scenario {
namespace {

const ScenarioNames kNames{"Prova", "T1"};

// A line source: the general section with the route length, the body from line 4.
std::string linea(const std::string& body, const std::string& length = "96000") {
  return "[generale]\r\nlunghezza percorso, " + length + "\r\n[curve]\r\n" + body + "[fine]\r\n";
}

// A train source whose records start on line 2.
std::string treno(const std::string& records) { return "[generale]\r\n" + records + "[fine]\r\n"; }

const std::string kStation = "stazione, 0, 12, 500, 1, 0, 0, 4,1,0, 2,1,1, 1, 8, 7, 0, PRIMA\r\n";

// 1-based line and column; {0, 0} when the diagnostic has no such offset.
struct At {
  std::size_t line = 0;
  std::size_t column = 0;
  bool operator==(const At&) const = default;
};

struct DiagnosticCase {
  const char* name;
  std::string line;
  std::string train;
  Status status;
  SourceId source;
  RecordKind record;
  At record_at;
  At field_at;
  std::optional<int> field_index{};
  std::optional<std::int32_t> cell{};
  std::optional<std::int32_t> metres{};
  std::optional<FailureKind> failure{};
  std::optional<int> short_after = std::nullopt;
  std::optional<int> fields_on_line = std::nullopt;
  std::optional<std::uint8_t> cell_holds = std::nullopt;
  bool by_speed_marks = false;
  std::size_t count = 1;  // diagnostics in all; the one checked is the first
};

void PrintTo(const DiagnosticCase& c, std::ostream* os) { *os << c.name; }

At at(const std::string& line, const std::string& train, const Diagnostic& d, std::optional<std::size_t> offset) {
  if (!offset) return {};
  const TextPlace p = place_of(d.source == SourceId::Train ? train : line, *offset);
  return At{p.line, p.column};
}

class RecordedDiagnostic : public testing::TestWithParam<DiagnosticCase> {};

// Each broken source leaves exactly one diagnostic, and it says where.
TEST_P(RecordedDiagnostic, SaysWhereAndWhy) {
  const DiagnosticCase& c = GetParam();
  SourceFiles sources = SourceFiles::in_memory(c.line, c.train);
  const CompileResult r = compile(kNames, CompileOptions{}, sources);
  ASSERT_EQ(r.report.Diagnostics.size(), c.count);
  const Diagnostic& d = r.report.Diagnostics[0];
  EXPECT_EQ(d.status, c.status);
  EXPECT_EQ(d.source, c.source);
  EXPECT_EQ(d.record, c.record);
  EXPECT_EQ(at(c.line, c.train, d, d.record_offset), c.record_at);
  EXPECT_EQ(at(c.line, c.train, d, d.field_offset), c.field_at);
  EXPECT_EQ(d.field_index, c.field_index);
  EXPECT_EQ(d.cell, c.cell);
  EXPECT_EQ(d.metres, c.metres);
  EXPECT_EQ(d.failure.has_value(), c.failure.has_value());
  if (d.failure && c.failure) {
    EXPECT_EQ(d.failure->kind, *c.failure);
  }
  EXPECT_EQ(d.short_after, c.short_after);
  EXPECT_EQ(d.fields_on_line, c.fields_on_line);
  EXPECT_EQ(d.cell_holds, c.cell_holds);
  EXPECT_EQ(d.by_speed_marks, c.by_speed_marks);
  // The status word stays what the rule set.
  if (!r.guard && c.status != Status::RuntimeFailure) {
    EXPECT_EQ(r.report.StatusCode, status_number(c.status));
  }
}

std::string segni(int n) {
  std::string body;
  for (int i = 1; i <= n; ++i) body += "cartello_indicatore, " + std::to_string(100 * i) + ", (c)\r\n";
  return body;
}

using S = Status;
using K = RecordKind;
using F = FailureKind;
constexpr SourceId L = SourceId::Line;
constexpr SourceId T = SourceId::Train;

INSTANTIATE_TEST_SUITE_P(
    BrokenSources, RecordedDiagnostic,
    testing::Values(
        // The reader takes the next line's keyword as the missing value: the
        // record is the one on line 5, the field was read from line 6.
        DiagnosticCase{"GradientMissingItsLastField", linea("pendenza, 0, 0\r\npendenza, 500\r\npendenza, 900, 3\r\n"),
                       treno(""), S::RuntimeFailure, L, K::Gradient, {5, 1}, {6, 1}, 2, {}, {}, F::NotANumber,
                       2, 1},
        // The first flag is read as the length: 16 fields where 17 belong.
        DiagnosticCase{"StationMissingItsLength", linea(""),
                       treno("stazione, 0, 12, 1, 0, 0, 4,1,0, 2,1,1, 1, 8, 7, 0, PRIMA\r\n"),
                       S::StationLengthNotWhole, T, K::Station, {2, 1}, {2, 18}, 3, {}, 0, {}, {}, 16},
        // A route of -5000 m has cells 0 to 40 and plan points 0 to 2000: the
        // curve that passes point 2000 fails because of the length.
        DiagnosticCase{"NegativeRouteLength", linea("curvad4, 1000, 1500\r\n", "-5000"), treno(""),
                       S::RuntimeFailure, L, K::RouteLength, {2, 1}, {2, 21}, 1, {}, -5000, F::OutOfRange},
        DiagnosticCase{"TextInANumericField", linea("montagna, 100, due, 11\r\n"), treno(""), S::RuntimeFailure, L,
                       K::Montagna, {4, 1}, {4, 16}, 2, {}, {}, F::NotANumber, {}, 3},
        DiagnosticCase{"NumberTooWide", linea(""), treno("orologio, 8 99999 30\r\n"), S::RuntimeFailure, T, K::Clock,
                       {2, 1}, {2, 13}, 2, {}, {}, F::TooWide, {}, 3},
        DiagnosticCase{"RecordCutByTheEnd", linea(""), "[generale]\r\nsegnale, 10700, 1", S::RuntimeFailure, T,
                       K::Signal, {2, 1}, {2, 18}, 3, {}, {}, F::TextEnded, {}, 2},
        // Rows 80 to 1 hold 80 signs; the 81st has no row.
        DiagnosticCase{"EightyFirstSign", linea(segni(82), "10000"), treno(""), S::RuntimeFailure, L, K::Sign,
                       {84, 1}, {84, 1}, 0, {}, {}, F::Full, {}, 2},
        DiagnosticCase{"SignOnABoard", linea("indicatori_vmax, 550, 80, 80, 80, 0, , , , 0\r\n"
                                             "cartello_indicatore, 550, (x)\r\n"),
                       treno(""), S::SignCellTaken, L, K::Sign, {5, 1}, {5, 22}, 1, 12, 550, {}, {}, 2,
                       std::uint8_t{6}},
        DiagnosticCase{"BoardOnASign", linea("cartello_indicatore, 550, (x)\r\n"
                                             "indicatori_vmax, 550, 80, 80, 80, 0, , , , 0\r\n"),
                       treno(""), S::BoardCellTaken, L, K::SpeedBoards, {5, 1}, {5, 18}, 1, 12, 550, {}, {}, 9,
                       std::uint8_t{14}},
        DiagnosticCase{"LineBoundCheck", linea("pendenza, 102950, 9\r\n"), treno(""), S::PastTrainCells, L,
                       K::Gradient, {4, 1}, {4, 11}, 1, {}, 102950, {}, {}, 2},
        DiagnosticCase{"CurveWithoutClass", linea("curva, 100, 50\r\n"), treno(""), S::CurveFailed, L, K::Curve,
                       {4, 1}, {4, 1}, 0, {}, {}, {}, {}, 2},
        DiagnosticCase{"RepetitionEnd", "[generale]\r\nlunghezza percorso, 96000\r\nripetizione segnali 4, 100, 210\r\n"
                                        "[x]\r\n[fine]\r\n",
                       treno(""), S::RepetitionEndNotWhole, L, K::SignalRepetition, {3, 1}, {3, 29}, 2, {}, 210, {},
                       {}, 2},
        DiagnosticCase{"ChainageNotWhole",
                       "[generale]\r\nlunghezza percorso, 96000\r\nprogressiva chilometrica uno, 125, 0, 0\r\n"
                       "[x]\r\n[fine]\r\n",
                       treno(""), S::ChainageNotWhole, L, K::ChainageOne, {3, 1}, {3, 31}, 1, {}, 125},
        DiagnosticCase{"NoGeneralSection", "[generle]\r\nlunghezza percorso, 96000\r\n[fine]\r\n", treno(""),
                       S::NoGeneralSection, L, K::None, {}, {3, 1}, 0, {}, {}, {}, {}, {}, {}, false, 2},
        // A slow order on a signal's cell: the slow order's own line and start.
        DiagnosticCase{"SlowOrderOnASignal", linea(""),
                       treno("segnale, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n"
                             "rallentamento, 10700, 60, 1000, 0, 0, 0\r\n"),
                       S::SlowOrderStartTaken, T, K::SlowOrder, {3, 1}, {3, 16}, 1, 215, 10700, {}, {}, 6,
                       std::uint8_t{1}},
        DiagnosticCase{"SlowOrderEndOnAReduction", linea(""),
                       treno("abbattimento, 11750, 0\r\nrallentamento, 10700, 60, 1000, 0, 0, 0\r\n"),
                       S::SlowOrderEndTaken, T, K::SlowOrder, {3, 1}, {3, 27}, 3, 235, 11700, {}, {}, 6,
                       std::uint8_t{13}},
        DiagnosticCase{"ReductionOnASignal", linea(""),
                       treno("segnale, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\nabbattimento, 10750, 0\r\n"),
                       S::ReductionCellTaken, T, K::Reduction, {3, 1}, {3, 15}, 1, 215, 10750, {}, {}, 2,
                       std::uint8_t{1}},
        DiagnosticCase{"StationPositionNotWhole", linea(""), treno("stazione, 5025\r\n"), S::StationNotWhole, T,
                       K::Station, {2, 1}, {2, 11}, 1, {}, 5025, {}, {}, 1},
        // Every window before the start is taken: the slow order behind code 12.
        DiagnosticCase{"NoRoomBeforeASlowOrder", linea(""),
                       treno("abbattimento, 700, 0\r\nabbattimento, 750, 0\r\nabbattimento, 800, 0\r\n"
                             "rallentamento, 1000, 120, 500, 0, 0, 0\r\n"),
                       S::SlowOrderApproachNoRoom, T, K::SlowOrder, {5, 1}, {5, 16}, 1, 21, 1050, {}, {}, {},
                       std::uint8_t{3}},
        // A kind-12 point with value 7 in cell 1: the record that put it there.
        DiagnosticCase{"Guard1250", linea(""), treno("abbattimento, 50, 7\r\n"), S::GuardWord1, T, K::Reduction,
                       {2, 1}, {2, 15}, 1, 1, 50, {}, {}, {}, std::uint8_t{12}},
        DiagnosticCase{"Guard1251", linea(""), treno("rallentamento, 0, 0, 0, 0, 0, 5\r\n"), S::GuardWord2, T,
                       K::SlowOrder, {2, 1}, {2, 16}, 1, 1, 50, {}, {}, {}, std::uint8_t{3}},
        // Cells 2 and 3 taken: the compiler's own mark before the slow order
        // goes into cell 1, and no record wrote there.
        DiagnosticCase{"Guard1250FromTheSpeedMarks", linea(""),
                       treno("abbattimento, 100, 0\r\nabbattimento, 150, 0\r\nrallentamento, 350, 120, 100, 0, 0, 0\r\n"),
                       S::GuardWord1, SourceId::None, K::None, {}, {}, {}, 1, 50, {}, {}, {}, std::uint8_t{12},
                       true}),
    [](const testing::TestParamInfo<DiagnosticCase>& i) { return std::string(i.param.name); });

TEST(RecordedDiagnostics, BuiltInSourcesRecordNothing) {
  SourceFiles sources = SourceFiles::in_memory(linea(""), treno(kStation));
  const CompileResult r = compile(kNames, CompileOptions{}, sources);
  EXPECT_EQ(r.report.StatusCode, 0);
  EXPECT_TRUE(r.report.Diagnostics.empty());
}

// The line source's bound check leaves 15 standing; the train pass stops at
// its first signal, which only restates it.
TEST(RecordedDiagnostics, StaleBoundCheckIsRestatedAtTheSignal) {
  const std::string train = treno("segnale, 10700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n");
  SourceFiles sources = SourceFiles::in_memory(linea("pendenza, 102950, 9\r\n"), train);
  const CompileResult r = compile(kNames, CompileOptions{}, sources);
  ASSERT_EQ(r.report.Diagnostics.size(), 2u);
  const Diagnostic& d = r.report.Diagnostics[1];
  EXPECT_EQ(d.status, Status::PastTrainCells);
  EXPECT_TRUE(d.restated);
  EXPECT_FALSE(r.report.Diagnostics[0].restated);
  EXPECT_EQ(d.source, SourceId::Train);
  EXPECT_EQ(d.record, RecordKind::Signal);
  EXPECT_EQ(d.record_offset, train.find("segnale"));
  EXPECT_EQ(r.report.StatusPosition, 10700);
}

// Failures outside any record: no source text, no train cells after the passes.
TEST(RecordedDiagnostics, FailuresOutsideARecord) {
  SourceFiles missing = SourceFiles::in_memory(linea(""), std::nullopt);
  const CompileResult a = compile(kNames, CompileOptions{}, missing);
  ASSERT_EQ(a.report.Diagnostics.size(), 1u);
  EXPECT_EQ(a.report.Diagnostics[0].source, SourceId::Train);
  EXPECT_EQ(a.report.Diagnostics[0].record, RecordKind::None);
  ASSERT_TRUE(a.report.Diagnostics[0].failure.has_value());
  EXPECT_EQ(a.report.Diagnostics[0].failure->kind, FailureKind::Io);

  SourceFiles no_line = SourceFiles::in_memory(std::nullopt, treno(""));
  const CompileResult b = compile(kNames, CompileOptions{}, no_line);
  ASSERT_TRUE(b.failure.has_value());
  ASSERT_EQ(b.report.Diagnostics.size(), 2u);
  EXPECT_EQ(b.report.Diagnostics[0].status, Status::NoLineSource);
  EXPECT_EQ(b.report.Diagnostics[0].source, SourceId::Line);
  EXPECT_EQ(b.report.Diagnostics[1].status, Status::RuntimeFailure);
  EXPECT_EQ(b.report.Diagnostics[1].source, SourceId::None);
  ASSERT_TRUE(b.report.Diagnostics[1].failure.has_value());
  EXPECT_EQ(b.report.Diagnostics[1].failure->kind, FailureKind::Missing);
  EXPECT_EQ(b.report.StatusCode, 101);
}

// A name's 16-bit length: 65,535 bytes serialise, 65,536 fail at the station
// record that wrote the name (found through the account's owner of the row's
// name), never with a wrapped length.
TEST(RecordedDiagnostics, NameTooLongForItsLengthIsPutAtItsRecord) {
  for (std::size_t size : {std::size_t{65535}, std::size_t{65536}}) {
    const std::string station = "stazione, 0, 12, 500, 1, 0, 0, 4,1,0, 2,1,1, 1, 8, 7, 0, " + std::string(size, 'N');
    const std::string train = treno(station + "\r\n");
    SourceFiles sources = SourceFiles::in_memory(linea(""), train);
    CompileResult r = compile(kNames, CompileOptions{.account = true}, sources);
    ASSERT_EQ(r.report.StatusCode, 0) << size;
    if (size == 65535) {
      const BinaryFiles files = serialise_recorded(r);
      EXPECT_NE(files.sim.find(std::string("\xff\xff") + std::string(65535, 'N')), std::string::npos);
      EXPECT_TRUE(r.report.Diagnostics.empty());
      continue;
    }
    EXPECT_THROW(serialise_recorded(r), Failure);
    ASSERT_EQ(r.report.Diagnostics.size(), 1u);
    const Diagnostic& d = r.report.Diagnostics[0];
    EXPECT_EQ(d.status, Status::RuntimeFailure);
    EXPECT_EQ(d.source, SourceId::Train);
    EXPECT_EQ(d.record, RecordKind::Station);
    EXPECT_EQ(d.record_offset, train.find("stazione"));
    EXPECT_EQ(d.field_index, 17);
    EXPECT_EQ(d.field_offset, train.find("NNN"));
    EXPECT_EQ(d.row, 1);
    ASSERT_TRUE(d.failure.has_value());
    EXPECT_EQ(d.failure->kind, FailureKind::TooWide);
    EXPECT_EQ(d.failure->value, 65536);
    EXPECT_EQ(d.failure->high, 65535);
  }
}

// The account gives each record its kind, its keyword and every field as read.
TEST(RecordedDiagnostics, AccountCarriesEveryRecordAndField) {
  const std::string line = linea("pendenza, 500, -3\r\ncartello_indicatore, 1000, (a b)\r\n");
  const std::string train = treno("orologio, 8 6 30\r\nvelocita stazione, 0, 80\r\n");
  SourceFiles sources = SourceFiles::in_memory(line, train);
  const CompileResult r = compile(kNames, CompileOptions{.line_plan = true, .account = true}, sources);
  ASSERT_TRUE(r.account);
  const Account& a = *r.account;
  ASSERT_EQ(a.records.size(), 6u);
  const AccountRecord& gradient = a.records[1];
  EXPECT_EQ(gradient.kind, RecordKind::Gradient);
  EXPECT_EQ(gradient.start, line.find("pendenza"));
  ASSERT_EQ(gradient.field_count, 2u);
  EXPECT_EQ(a.fields_of(gradient)[0].start, line.find("500"));
  EXPECT_EQ(a.fields_of(gradient)[0].number, 500);
  EXPECT_EQ(a.fields_of(gradient)[1].number, -3);
  const AccountRecord& sign = a.records[2];
  ASSERT_EQ(sign.field_count, 2u);
  EXPECT_FALSE(a.fields_of(sign)[1].numeric);
  EXPECT_EQ(testo_di(line, a.fields_of(sign)[1].start, a.fields_of(sign)[1].end), "(a b)");
  const AccountRecord& clock = a.records[3];
  ASSERT_EQ(clock.field_count, 3u);
  EXPECT_EQ(a.fields_of(clock)[1].start, train.find("6 30"));
  EXPECT_EQ(a.fields_of(clock)[2].number, 30);
  // One keyword field, two records: the speed, then the station (whose
  // fields run out at the text's end and fail).
  EXPECT_EQ(a.records[4].kind, RecordKind::SpeedProfile);
  EXPECT_EQ(a.records[4].field_count, 2u);
  // The speed would only run on at the end of the pass, which the station's failure never reaches.
  EXPECT_EQ(a.records[4].fate, RecordFate::NoEffect);
  EXPECT_EQ(a.records[5].kind, RecordKind::Station);
  EXPECT_EQ(a.records[5].keyword, a.records[4].keyword);
  EXPECT_EQ(a.records[5].fate, RecordFate::Refused);
}

// The generator's path: a runtime failure after the passes is thrown to the
// caller (the program's consistency report), and no file is written.
struct LateFailureCase {
  const char* name;
  std::optional<std::string> line;
  std::optional<std::string> train;
  FailureKind kind;
};
void PrintTo(const LateFailureCase& c, std::ostream* os) { *os << c.name; }

class GeneratorPath : public testing::TestWithParam<LateFailureCase> {};

TEST_P(GeneratorPath, FailureAfterThePassesIsThrownAndWritesNothing) {
  const LateFailureCase& c = GetParam();
  std::string pattern = (std::filesystem::temp_directory_path() / "late_failure_XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  SourceFiles sources = SourceFiles::in_memory(c.line, c.train);
  try {
    memorizza_percorso(kNames, sources, dir);
    ADD_FAILURE() << "no failure thrown";
  } catch (const Failure& f) {
    EXPECT_EQ(f.detail().kind, c.kind) << f.what();
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    LateFailures, GeneratorPath,
    testing::Values(LateFailureCase{"NoLineSource", std::nullopt, treno(kStation), FailureKind::Missing},
                    // Cell 0 alone: the passes run, the stamps find no cell 1,
                    // and the three files could still be serialised.
                    LateFailureCase{"RouteOfOneCell", linea("", "-6990"), treno(""), FailureKind::OutOfRange}),
    [](const testing::TestParamInfo<LateFailureCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace scenario
