// Both passes under the recovery: runtime failures become status 25.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "model/compile_state.h"
#include "model/source_files.h"
#include "parser/passes.h"

namespace scenario {
namespace {

const char kLine[] = "[generale]\r\nlunghezza percorso, 96000\r\n[curve]\r\n[fine]\r\n";

struct RecoveryCase {
  const char* name;
  std::optional<std::string> line;
  std::optional<std::string> train;
  std::int32_t code;
  std::int32_t position;  // 777 is the value before the call
  bool train_left;        // the train source is still there afterwards
  std::string failure = "";  // the reason kept behind a 25
};
void PrintTo(const RecoveryCase& c, std::ostream* os) { *os << c.name; }

class DatiRecovery : public testing::TestWithParam<RecoveryCase> {};

TEST_P(DatiRecovery, StatusAndSourcesLeft) {
  const RecoveryCase& c = GetParam();
  CompileState s;
  s.report.StatusPosition = 777;
  SourceFiles sources = SourceFiles::in_memory(c.line, c.train);
  memorizza_dati(s, sources);
  EXPECT_EQ(s.report.StatusCode, c.code);
  EXPECT_EQ(s.report.StatusPosition, c.position);
  EXPECT_FALSE(sources.exists(SourceId::Line));
  EXPECT_EQ(sources.exists(SourceId::Train), c.train_left);
  EXPECT_EQ(frase_del_guasto(s.report), c.failure);
}

INSTANTIATE_TEST_SUITE_P(
    Passes, DatiRecovery,
    testing::Values(
        RecoveryCase{"BothRead", kLine, "[generale]\r\nsabbia, 300\r\n[fine]\r\n", 0, 777, false},
        RecoveryCase{"TrainEndsWithACode", kLine, "[generale]\r\nstazione, 5025\r\n[fine]\r\n", 8, 5025, false},
        RecoveryCase{"SpeedFifthAboveAByte", kLine, "[generale]\r\nvelocita, 0, 1278\r\n[fine]\r\n", 25, 777, false,
                     "value 255.600000 does not fit a byte"},
        RecoveryCase{"EmptyTrainSource", kLine, "", 25, 777, false,
                     "line 1: a field was expected but the text has ended"},
        RecoveryCase{"MissingTrainSource", kLine, std::nullopt, 25, 777, false,
                     "cannot open treno.txt: no such file"},
        RecoveryCase{"TrainRecordCutByTheEnd", kLine, "[generale]\r\nsegnale, 10700, 1", 25, 777, false,
                     "line 2: a number was expected but the text has ended"},
        RecoveryCase{"NumberTooWideInTheLineSource", "[generale]\r\nlunghezza percorso, 99999999999\r\n[fine]\r\n",
                     "[generale]\r\n[fine]\r\n", 25, 777, false,
                     "line 2: '99999999999' does not fit a 32-bit number"},
        // The line pass's own endings leave the train source alone.
        RecoveryCase{"NoLineSource", std::nullopt, "[generale]\r\n[fine]\r\n", 101, 777, true}),
    [](const testing::TestParamInfo<RecoveryCase>& info) { return std::string(info.param.name); });

// A failure past the train cells is put on the route length when the length
// is negative (the short route is the fault), and stays on its own record
// otherwise; a failure of another kind stays where it happened.
struct PlacedFailure {
  const char* name;
  std::string line;
  std::string train;
  RecordKind record;  // where the failure is recorded
  int field;
};
void PrintTo(const PlacedFailure& c, std::ostream* os) { *os << c.name; }

class DatiFailurePlace : public testing::TestWithParam<PlacedFailure> {};

TEST_P(DatiFailurePlace, RecordAndField) {
  const PlacedFailure& c = GetParam();
  CompileState s;
  SourceFiles sources = SourceFiles::in_memory(c.line, c.train);
  memorizza_dati(s, sources);
  ASSERT_EQ(s.report.StatusCode, 25);
  ASSERT_FALSE(s.report.Diagnostics.empty());
  EXPECT_EQ(s.report.Diagnostics.back().record, c.record);
  EXPECT_EQ(s.report.Diagnostics.back().field_index, c.field);
}

const char kTrain[] = "[generale]\r\n[fine]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Passes, DatiFailurePlace,
    testing::Values(
        PlacedFailure{"RangePastTheCellsOfANegativeRoute",
                      "[generale]\r\nlunghezza percorso, -5000\r\n[montagne]\r\nmontagna, 0, 5000, 1\r\n[fine]\r\n",
                      kTrain, RecordKind::RouteLength, 1},
        PlacedFailure{"RangePastTheCellsOfARoute",
                      "[generale]\r\nlunghezza percorso, 1000\r\n[montagne]\r\nmontagna, 0, 20000, 1\r\n[fine]\r\n",
                      kTrain, RecordKind::Montagna, 1},
        // The speed is converted when a later row fills the cells; the
        // failure stands at the speed field of the row that set it.
        PlacedFailure{"SpeedTooLargeFilledByTheNextRow", kLine,
                      "[generale]\r\nvelocita, 0, 1300\r\nvelocita, 500, 80\r\n[fine]\r\n",
                      RecordKind::SpeedProfile, 2},
        PlacedFailure{"SpeedTooLargeFilledAtTheEnd", kLine, "[generale]\r\nvelocita, 0, 1300\r\n[fine]\r\n",
                      RecordKind::SpeedProfile, 2}),
    [](const testing::TestParamInfo<PlacedFailure>& info) { return std::string(info.param.name); });

TEST(DatiRecoveryOnDisk, DeletesBothSourceFiles) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("memorizza_dati_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::path line = dir / "linea.txt";
  fs::path train = dir / "treno.txt";
  std::ofstream(line, std::ios::binary) << "[generale]\r\nlunghezza percorso, 99999999999\r\n[fine]\r\n";
  std::ofstream(train, std::ios::binary) << "[generale]\r\n[fine]\r\n";
  CompileState s;
  SourceFiles sources = SourceFiles::on_disk(line, train);
  memorizza_dati(s, sources);
  EXPECT_EQ(s.report.StatusCode, 25);
  EXPECT_FALSE(fs::exists(line));
  EXPECT_FALSE(fs::exists(train));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace scenario
