// A failed stamp guard through the whole compile leaves the old binary files untouched.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "model/compile_state.h"
#include "compiler/memorizza_percorso.h"
#include "model/source_files.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const char kLineSource[] =
    "[generale]\r\n"
    "lunghezza percorso,  96000\r\n"
    "[fine]\r\n"
    "[fine]\r\n";

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_all_bytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

struct GuardRun {
  const char* name;
  const char* train_source;
  std::optional<Status> want;
};
void PrintTo(const GuardRun& c, std::ostream* os) { *os << c.name; }

// A directory that already holds an older set of the three binary files.
class StampGuard : public testing::TestWithParam<GuardRun> {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "stamp_guard_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    names_ = ScenarioNames{"Castrovelde_Ardis", "R31708"};
    old_ = {{line_file(dir_, names_), std::string("old line plan\0\x01\xff", 16)},
            {scenario_file(dir_, names_), std::string("old scenario table")},
            {train_file(dir_, names_), std::string(3000, '\x5a')}};
    for (const auto& [path, bytes] : old_) write_all_bytes(path, bytes);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::vector<std::string> file_names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

  fs::path dir_;
  ScenarioNames names_;
  std::vector<std::pair<fs::path, std::string>> old_;
};

TEST_P(StampGuard, GuardFailureWritesNothing) {
  const GuardRun& run = GetParam();
  SourceFiles sources = SourceFiles::in_memory(std::string(kLineSource), std::string(run.train_source));

  EXPECT_EQ(memorizza_percorso(names_, sources, dir_).guard, run.want);

  EXPECT_EQ(file_names(), (std::vector<std::string>{"Castrovelde_Ardis_R31708.dat", "Castrovelde_Ardis_R31708.sim",
                                                    "Castrovelde_Ardis_linea.dat"}));
  for (const auto& [path, bytes] : old_) {
    // Compared as a whole, without printing megabytes on a mismatch.
    const bool unchanged = read_all(path) == bytes;
    EXPECT_EQ(unchanged, run.want.has_value()) << path;  // the control run does replace them
  }
}

INSTANTIATE_TEST_SUITE_P(
    TrainSources, StampGuard,
    testing::Values(
        // Start and end in cell 1 with speed 0 and d_v 5: the check code's place is taken.
        GuardRun{"SlowOrderInCell1Gives1251", "[generale]\r\nrallentamento, 0, 0, 0, 0, 0, 5\r\n[fine]\r\n", Status::GuardWord2},
        // A kind-12 point with value 7 in cell 1: the mark's place is taken.
        GuardRun{"ReductionInCell1Gives1250", "[generale]\r\nabbattimento, 50, 7\r\n[fine]\r\n", Status::GuardWord1},
        GuardRun{"EmptyTrainSourceStampsAndWrites", "[generale]\r\n[fine]\r\n", std::nullopt}),
    [](const testing::TestParamInfo<GuardRun>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace scenario
