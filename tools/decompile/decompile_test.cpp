// Decompiling: the built-in scenario round trip and fixed point, refusals that name what they cannot explain.
#include "decompile/decompile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tool_main.h"
#include "compiler/compile.h"
#include "tool_test_support.h"
#include "content/writers.h"
#include "content/text_writer.h"
#include "model/source_files.h"

namespace scenario::tool {
namespace {

using testing::builtin_names;
using testing::generator_output;
using testing::run_tool;
using testing::RunResult;
using testing::slurp;
using testing::spit;
using testing::TempDir;

BinaryFiles compiled(const std::string& line, const std::string& train, bool line_plan = true) {
  SourceFiles sources = SourceFiles::in_memory(line, train);
  CompileResult r = compile(builtin_names(), scenario::CompileOptions{.line_plan = line_plan}, sources);
  EXPECT_EQ(r.report.StatusCode, 0);
  return serialise_all(r);
}

BinaryFiles builtin_files() { return compiled(render_lines(righe_linea()), render_lines(righe_treno())); }

std::string joined(const std::vector<std::string>& reasons) {
  std::string s;
  for (const std::string& r : reasons) s += r + "\n";
  return s;
}

TEST(Decompile, BuiltInScenarioRoundTripsAndIsAFixedPoint) {
  const BinaryFiles files = builtin_files();
  const DecompileOutcome first = decompila(files);
  ASSERT_TRUE(first.pair) << joined(first.reasons);
  EXPECT_EQ(first.pair->names.RouteName, builtin_names().RouteName);
  EXPECT_EQ(first.pair->names.TrainCode, builtin_names().TrainCode);
  const BinaryFiles again = compiled(first.pair->line, first.pair->train);
  EXPECT_EQ(again.sim, files.sim);
  EXPECT_EQ(again.dat, files.dat);
  EXPECT_EQ(again.linea, files.linea);
  const DecompileOutcome second = decompila(again);
  ASSERT_TRUE(second.pair) << joined(second.reasons);
  EXPECT_EQ(second.pair->line, first.pair->line);
  EXPECT_EQ(second.pair->train, first.pair->train);
}

TEST(Decompile, PairWithoutPlanRoundTrips) {
  BinaryFiles files = compiled(render_lines(righe_linea()), render_lines(righe_treno()), false);
  ASSERT_FALSE(files.linea);
  const DecompileOutcome out = decompila(files);
  ASSERT_TRUE(out.pair) << joined(out.reasons);
  EXPECT_EQ(out.pair->line.find("curva"), std::string::npos);
}

TEST(Decompile, GeneratorFilesRebuildIntoTheFolder) {
  TempDir dir;
  const RunResult r = run_tool({"decompile", "-o", dir.path().string(), generator_output().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string line = slurp(line_source_file(dir.path(), builtin_names()));
  const std::string train = slurp(train_source_file(dir.path(), builtin_names()));
  EXPECT_NE(line.find("\r\n"), std::string::npos);
  const BinaryFiles again = compiled(line, train);
  EXPECT_EQ(again.sim, slurp(generator_output() / "Castrovelde_Ardis_R31708.sim"));
  EXPECT_EQ(again.dat, slurp(generator_output() / "Castrovelde_Ardis_R31708.dat"));
  EXPECT_EQ(*again.linea, slurp(generator_output() / "Castrovelde_Ardis_linea.dat"));
}

// A file changed in one place it cannot explain: refused, the place named.
struct Damage {
  const char* name;
  void (*apply)(BinaryFiles&);
  const char* reason;
};

void put_double(std::string& bytes, std::size_t at, double v) {
  std::memcpy(bytes.data() + at, &v, sizeof v);
}

const Damage kDamages[] = {
    {"plan_point_off_every_step",
     [](BinaryFiles& f) { put_double(*f.linea, 2 * 4 + 10 + 2, 0.5); },  // X of point 3: after two int16 values and one real
     "plan point 3: no straight or curved step"},
    {"cell_with_unknown_kind", [](BinaryFiles& f) { f.dat[15 * 500] = 9; }, "cell 500 (25000 m)"},
    {"truncated_dat", [](BinaryFiles& f) { f.dat.resize(f.dat.size() - 15); }, "cells, but the route length"},
    {"stamp_broken", [](BinaryFiles& f) { f.dat[15 + 1] ^= 1; }, "cell 1 (50 m)"},
    {"sim_cut", [](BinaryFiles& f) { f.sim.resize(f.sim.size() - 1); }, "truncated at byte offset"},
    // The plan's last point, always empty, written as the int16 0: the only
    // change is in the bytes of the compiled plan, found when they are compared.
    {"last_plan_point_not_empty",
     [](BinaryFiles& f) { f.linea->replace(f.linea->size() - 2, 2, std::string("\x02\0\0\0", 4)); },
     "plan point 103000: the last two points stay empty"},
    // X of point 2, the real 0.0, written as -0.0: the steps match it as a
    // value, and only the bytes of the compiled plan differ.
    {"negative_zero", [](BinaryFiles& f) { put_double(*f.linea, 2 * 4 + 2, -0.0); }, "plan point 2: "},
    // Twenty-five cells the sources cannot give: twenty are named, the rest
    // counted, whether found while rebuilding or when compiling back.
    {"many_cells_differ",
     [](BinaryFiles& f) {
       for (std::size_t c = 500; c < 525; ++c) f.dat[15 * c] = 9;
     },
     "cell 519 (25950 m): the file holds kind 9 words 0 0 0 0 bytes 0 0 0 8 122 100; the rebuilt sources give kind 0 "
     "words 0 0 0 0 bytes 0 0 0 8 122 100, written by nothing\n"
     "5 more cells, rows or plan points differ\n"},
    {"many_signs_naming_no_row",
     [](BinaryFiles& f) {
       for (std::size_t c = 500; c < 525; ++c) f.dat.replace(15 * c, 3, std::string("\x0e\0\0", 3));
     },
     "cell 519: a sign naming row 0, which no one sign record can give\n"
     "5 more cells, rows or plan points differ\n"},
};

class DecompileRefuses : public ::testing::TestWithParam<Damage> {};

TEST_P(DecompileRefuses, NamesWhatItCannotExplain) {
  BinaryFiles files = builtin_files();
  GetParam().apply(files);
  const DecompileOutcome out = decompila(files);
  EXPECT_FALSE(out.pair);
  EXPECT_NE(joined(out.reasons).find(GetParam().reason), std::string::npos) << joined(out.reasons);
}

INSTANTIATE_TEST_SUITE_P(Damages, DecompileRefuses, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Decompile, RefusalWritesNothingAndExitsOne) {
  TempDir dir;
  for (const char* f : {"Castrovelde_Ardis_R31708.sim", "Castrovelde_Ardis_R31708.dat", "Castrovelde_Ardis_linea.dat"}) {
    std::filesystem::copy_file(generator_output() / f, dir.path() / f);
  }
  std::string dat = slurp(dir.path() / "Castrovelde_Ardis_R31708.dat");
  dat[15 * 700] = 9;
  spit(dir.path() / "Castrovelde_Ardis_R31708.dat", dat);
  const RunResult r = run_tool({"decompile", dir.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cell 700"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(line_source_file(dir.path(), builtin_names())));
  EXPECT_FALSE(std::filesystem::exists(train_source_file(dir.path(), builtin_names())));
}

// A refusal goes through the diagnostics renderer in every format: the .sim
// named as the file, a note per reason, the folder's control bytes escaped.
TEST(Decompile, RefusalReportedInEveryFormat) {
  TempDir top;
  const std::filesystem::path dir = top.path() / "valle\x1b[2J";
  std::filesystem::create_directory(dir);
  for (const char* f : {"Castrovelde_Ardis_R31708.sim", "Castrovelde_Ardis_R31708.dat", "Castrovelde_Ardis_linea.dat"}) {
    std::filesystem::copy_file(generator_output() / f, dir / f);
  }
  std::string dat = slurp(dir / "Castrovelde_Ardis_R31708.dat");
  dat[15 * 700] = 9;
  spit(dir / "Castrovelde_Ardis_R31708.dat", dat);
  const std::string sim = (top.path() / "valle\\x1b[2J" / "Castrovelde_Ardis_R31708.sim").string();
  struct Case {
    const char* name;
    const char* option;
    bool on_stdout;
    std::vector<std::string> wanted;
  };
  const Case cases[] = {
      {"text", "--color=never", false,
       {sim + ": error: cannot rebuild sources that compile to the same files; nothing written\n",
        "\n" + sim + ": note: cell 700 (35000 m): the file holds kind 9 "}},
      {"coloured", "--color=always", false, {sim + ": \x1b[01;31merror:\x1b[m cannot rebuild sources"}},
      {"json", "--diagnostics=json", true,
       {"\"severity\":\"error\",\"code\":\"decompile\",\"message\":\"cannot rebuild sources",
        "\"severity\":\"note\",\"code\":\"decompile\",\"message\":\"cell 700 (35000 m)"}},
      {"sarif", "--diagnostics=sarif", true, {"\"ruleId\":\"decompile\",\"level\":\"note\"", "cell 700 (35000 m)"}},
  };
  for (const Case& c : cases) {
    const RunResult r = run_tool({"decompile", c.option, dir.string()});
    EXPECT_EQ(r.status, 1) << c.name;
    const std::string& shown = c.on_stdout ? r.out : r.err;
    EXPECT_EQ((c.on_stdout ? r.err : r.out), "") << c.name;
    for (const std::string& w : c.wanted) EXPECT_NE(shown.find(w), std::string::npos) << c.name << ": " << shown;
    EXPECT_EQ(shown.find("\x1b[2J"), std::string::npos) << c.name << ": the folder's control bytes reached the output";
  }
  EXPECT_FALSE(std::filesystem::exists(line_source_file(dir, builtin_names())));
}

}  // namespace
}  // namespace scenario::tool
