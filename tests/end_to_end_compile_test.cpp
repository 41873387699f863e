// The built-in sources compiled end to end, in memory and on disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "content/place_names.h"
#include "content/text_writer.h"
#include "content/writers.h"
#include "model/binary_writers.h"
#include "model/compile_state.h"
#include "compiler/memorizza_percorso.h"
#include "model/source_files.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const ScenarioNames kBuiltInNames{std::string(names::kRouteName), std::string(names::kTrainCode)};

class BuiltInCompile : public testing::Test {
 protected:
  void SetUp() override {
    SourceFiles sources = SourceFiles::in_memory(render_lines(righe_linea()), render_lines(righe_treno()));
    CompileResult r = compile(kBuiltInNames, CompileOptions{}, sources);
    s = std::move(r);
    guard = r.guard;
    failure = r.failure.has_value();
    line_left = sources.exists(SourceId::Line);
    train_left = sources.exists(SourceId::Train);
  }

  CompileResult s;
  std::optional<Status> guard;
  bool failure = true;
  bool line_left = true;
  bool train_left = true;
};

TEST_F(BuiltInCompile, EndsCleanlyAndReadsBothSources) {
  EXPECT_EQ(guard, std::nullopt);
  EXPECT_FALSE(failure);
  EXPECT_EQ(s.report.StatusCode, 0);
  EXPECT_TRUE(s.report.Diagnostics.empty());
  EXPECT_FALSE(line_left);
  EXPECT_FALSE(train_left);
  EXPECT_EQ(s.scenario.CellCount, 2060);
}

TEST_F(BuiltInCompile, ScenarioRows) {
  const std::int32_t positions[18] = {0,     4900,  11400, 11950, 13100, 17150, 21750, 28650, 41400,
                                      45250, 49100, 57350, 67700, 76600, 82950, 85850, 87450, 95900};
  for (int r = 1; r <= 18; ++r) {
    EXPECT_EQ(s.scenario.ScenarioTable[r].Position, positions[r - 1]) << "row " << r;
    EXPECT_EQ(s.scenario.ScenarioTable[r].Name, names::kStations[r - 1].source) << "row " << r;
  }
  EXPECT_EQ(s.scenario.ScenarioTable[19], ScenarioRecord{});
  EXPECT_EQ(s.scenario.ScenarioTable[1].Start, -250);
  EXPECT_EQ(s.scenario.ScenarioTable[1].End, 250);
  EXPECT_EQ(s.scenario.ScenarioTable[84].Start, 120);
  EXPECT_EQ(s.scenario.ScenarioTable[84].End, 96000);
  EXPECT_EQ(s.scenario.ScenarioTable[84].Position, 3);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word1, 300);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word3, 8);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word4, 6);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Word5, 30);
  EXPECT_EQ(s.scenario.ScenarioTable[86].Name, names::kTrainCode);
}

TEST_F(BuiltInCompile, FirstStationCells) {
  EXPECT_EQ(s.scenario.TrainCells[4].Kind, kind::kStop);
  EXPECT_EQ(s.scenario.TrainCells[4].Word1, 1);
  EXPECT_EQ(s.scenario.TrainCells[3].Byte2, 81);
  EXPECT_EQ(s.scenario.TrainCells[2].Byte2, 82);
  EXPECT_EQ(s.scenario.TrainCells[0].Byte2, 0);
}

TEST_F(BuiltInCompile, SpeedAndAdhesionProfiles) {
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

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(BuiltInCompileOnDisk, LeavesExactlyTheThreeBinaryFiles) {
  fs::path dir = fs::temp_directory_path() / ("end_to_end_compile_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const ScenarioNames names{std::string(names::kRouteName), std::string(names::kTrainCode)};
  write_lines(line_source_file(dir, names), righe_linea());
  write_lines(train_source_file(dir, names), righe_treno());

  SourceFiles sources = SourceFiles::on_disk(line_source_file(dir, names), train_source_file(dir, names));
  const CompileResult r = memorizza_percorso(names, sources, dir);
  const CompileResult& s = r;
  EXPECT_EQ(r.guard, std::nullopt);
  EXPECT_EQ(s.report.StatusCode, 0);

  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.insert(entry.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"Castrovelde_Ardis_R31708.dat", "Castrovelde_Ardis_R31708.sim",
                                         "Castrovelde_Ardis_linea.dat"}));
  EXPECT_EQ(fs::file_size(line_file(dir, names)), 2059964u);
  EXPECT_EQ(fs::file_size(train_file(dir, names)), 30915u);
  EXPECT_EQ(read_all(scenario_file(dir, names)), serialise_sim(s.scenario.ScenarioTable));
  EXPECT_EQ(read_all(train_file(dir, names)), serialise_dat(s.scenario.TrainCells));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace scenario
