// Tests of verify: the generator's files pass; one changed byte, a cut file or a file of another scenario is named with its offset and field.
#include <gtest/gtest.h>

#include <random>

#include "common/binary_files.h"
#include "model/binary_writers.h"
#include "tool_test_support.h"
#include "verify/verify_checks.h"

namespace scenario::tool {
namespace {

using namespace testing;

const char* const kSim = "Castrovelde_Ardis_R31708.sim";
const char* const kDat = "Castrovelde_Ardis_R31708.dat";
const char* const kLinea = "Castrovelde_Ardis_linea.dat";

void copy_generator_files(const fs::path& to) {
  for (const char* name : {kSim, kDat, kLinea}) fs::copy_file(generator_output() / name, to / name);
}

TEST(VerifyBuiltIn, TheGeneratorsFilesPassAloneAndTogether) {
  TempDir tmp;
  copy_generator_files(tmp.path());
  RunResult all = run_tool({"verify", tmp.path().string()});
  EXPECT_EQ(all.status, 0) << all.out;
  EXPECT_EQ(all.err, "3 files verified, 0 mismatches\n");
  for (const char* name : {kSim, kDat, kLinea}) {
    RunResult one = run_tool({"verify", (tmp.path() / name).string()});
    EXPECT_EQ(one.status, 0) << one.out;
    EXPECT_EQ(one.out, (tmp.path() / name).string() + ": ok\n");
  }
}

// The offset of row 85 in the built-in .sim, where the weighted code lies.
std::size_t row_85_offset() {
  return decode_sim(slurp(generator_output() / kSim), kSim).offsets[kStampRow];
}

struct FlippedByte {
  const char* name;
  const char* file;
  std::size_t offset;  // of the changed byte; for row 85, counted from the row's start
  unsigned char mask;  // XORed into it
  bool in_row_85;
  const char* first_report;  // "offset N: FIELD: ..." up to the problem's first words
};

std::ostream& operator<<(std::ostream& os, const FlippedByte& c) { return os << c.name; }

class VerifyFlippedByte : public ::testing::TestWithParam<FlippedByte> {};

// A one-bit change anywhere the compiler guarantees something is caught and
// named: in the plan even the lowest bit of a coordinate, since every point
// follows exactly from the two before it.
TEST_P(VerifyFlippedByte, NamesOffsetAndField) {
  const FlippedByte& c = GetParam();
  TempDir tmp;
  copy_generator_files(tmp.path());
  std::string bytes = slurp(tmp.path() / c.file);
  const std::size_t at = c.offset + (c.in_row_85 ? row_85_offset() : 0);
  bytes[at] = static_cast<char>(static_cast<unsigned char>(bytes[at]) ^ c.mask);
  spit(tmp.path() / c.file, bytes);

  for (const std::vector<std::string>& args : {std::vector<std::string>{"verify", (tmp.path() / c.file).string()},
                                               std::vector<std::string>{"verify", tmp.path().string()}}) {
    RunResult r = run_tool(args);
    EXPECT_EQ(r.status, 1);
    std::string expected = c.first_report;
    if (c.in_row_85) expected = "offset " + std::to_string(at) + expected;
    const std::string file = (tmp.path() / c.file).string() + ": ";
    std::string first_report;
    for (const std::string& line : lines_of(r.out)) {
      if (line.rfind(file, 0) == 0 && first_report.empty()) first_report = line;
    }
    EXPECT_EQ(first_report.rfind(file + expected, 0), 0u) << r.out << "\nexpected: " << expected;
  }
}

const FlippedByte kFlippedBytes[] = {
    {"sim_weighted_code", kSim, 30 + 17, 0x04, true, ": row 85 Time: holds "},
    {"sim_stamp_mark", kSim, 16 + 17, 0x01, true, ": row 85 Word1: holds 611; the stamp puts the mark 610 here"},
    {"sim_row_0", kSim, 3, 0x10, false, "offset 1: row 0 Start: holds 1048576; row 0 is never filled"},
    {"sim_station_zone_end", kSim, 34 + 5, 0x01, false,
     "offset 39: row 1 End: holds 251, but a kind 12 station at 0 whose zone starts at -250 ends at 250"},
    {"dat_plain_code", kDat, 18, 0x01, false, "offset 18: cell 1 Word2: holds 2372, but the check code of route "},
    {"dat_stamp_mark", kDat, 16, 0x80, false, "offset 16: cell 1 Word1: holds 5249; the stamp puts the mark 5121 here"},
    {"dat_kind", kDat, 15 * 7, 0x08, false, "offset 105: cell 7 Kind: holds 8, which is no cell kind"},
    {"dat_value_in_empty_cell", kDat, 15 * 7 + 4, 0x01, false,
     "offset 108: cell 7 Word2: holds 256 in a cell of kind 0 (empty), which carries no object value"},
    {"dat_profile_tail", kDat, 15 * 2060 + 12, 0x01, false,
     "offset 30912: cell 2060 Byte4: holds 1; the profiles leave the last two cells at 0"},
    // The last two cells, not only the last.
    {"dat_profile_second_last_cell", kDat, 15 * 2059 + 12, 0x01, false,
     "offset 30897: cell 2059 Byte4: holds 1; the profiles leave the last two cells at 0"},
    {"linea_lowest_bit_of_x", kLinea, 10 * 5000 - 10, 0x01, false, "offset 49990: X of point 5000: holds "},
    {"linea_exponent_of_y", kLinea, 1029982 + 10 * 777 - 10 + 7, 0x40, false, "offset 1037742: Y of point 777: holds "},
    {"linea_type_tag", kLinea, 10 * 5000 - 12, 0x02, false, "offset 49988: value 5000 type tag: holds 7; "},
};

INSTANTIATE_TEST_SUITE_P(Files, VerifyFlippedByte, ::testing::ValuesIn(kFlippedBytes),
                         [](const auto& info) { return std::string(info.param.name); });

// A .dat compiled for another route and train, put under the built-in name:
// its check code and its cell count give it away.
TEST(VerifySet, ADatOfAnotherScenario) {
  TempDir src, tmp;
  copy_dir(fixture("ok"), src.path());
  ASSERT_EQ(run_tool({"compile", src.path().string()}).status, 0);
  copy_generator_files(tmp.path());
  fs::copy_file(src.path() / "Prova_T1.dat", tmp.path() / kDat, fs::copy_options::overwrite_existing);

  RunResult r = run_tool({"verify", tmp.path().string()});

  EXPECT_EQ(r.status, 1);
  const std::string dat = (tmp.path() / kDat).string();
  const std::size_t cells = fs::file_size(src.path() / "Prova_T1.dat") / 15;
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 7u) << r.out;
  EXPECT_EQ(lines[0], (tmp.path() / kSim).string() + ": ok");
  EXPECT_EQ(lines[1].rfind(dat + ": offset 18: cell 1 Word2: holds ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find("as the file is named, is 2373"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2], dat + ": offset " + std::to_string(cells * 15) + ": cell count: the file holds " +
                          std::to_string(cells) + " cells, but the route length 96000 m in the .sim gives 2061 "
                          "(one per 50 m, 7000 m past the end)");
  EXPECT_NE(lines[3].find("cell 1 Word2"), std::string::npos);
  EXPECT_NE(lines[3].find("the files are not of one scenario"), std::string::npos);
  // Its stopping points name station rows whose zones end elsewhere.
  EXPECT_EQ(lines[4].rfind(dat + ": offset 2731: cell 182 Word1: names row 2, but that row's station stops in cell 99", 0),
            0u);
  EXPECT_NE(lines[5].find("names row 3, but that row's station stops in cell 229, not here"), std::string::npos);
  EXPECT_EQ(lines[6], (tmp.path() / kLinea).string() + ": ok");
}

TEST(VerifySet, ExplicitFilesMustBelongTogether) {
  TempDir src;
  copy_dir(fixture("ok"), src.path());
  ASSERT_EQ(run_tool({"compile", src.path().string()}).status, 0);
  RunResult r = run_tool({"verify", (generator_output() / kSim).string(), (src.path() / "Prova_linea.dat").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Prova_linea.dat: offset " + std::to_string(fs::file_size(src.path() / "Prova_linea.dat")) +
                       ": point count: the plan runs to point "),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("makes it run to 103000"), std::string::npos);
}

// Every cut of a file is one mismatch at the place where the file ends too
// early, never a crash or a read past the end.
TEST(VerifyChecks, CutFilesGiveOneMismatchWhereTheyEnd) {
  const std::string sim = slurp(generator_output() / kSim);
  const std::string dat = slurp(generator_output() / kDat);
  for (std::size_t n = 0; n < 200; ++n) {
    const SimFacts s = verify_sim(std::string_view(sim).substr(0, n), "");
    ASSERT_EQ(s.mismatches.size(), 1u) << n;
    EXPECT_LE(s.mismatches[0].offset, n);
    EXPECT_NE(s.mismatches[0].problem.find("the file ends inside row"), std::string::npos);
    const DatFacts d = verify_dat(std::string_view(dat).substr(0, n), "");
    if (n % 15 == 0 && n >= 30) continue;  // whole cells: other rules speak
    ASSERT_EQ(d.mismatches.size(), 1u) << n;
    EXPECT_EQ(d.mismatches[0].offset, n < 30 && n % 15 == 0 ? n : n - n % 15);
  }
  EXPECT_EQ(verify_sim(sim + "x", "").mismatches.front().field, "end of file");
}

// Random bytes of any length, as each kind of file: the checks report and
// never read outside the bytes (the sanitizer build watches the reads).
TEST(VerifyChecks, RandomBytesAreReportedNotTrusted) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(rng() % 4000, '\0');
    for (char& b : bytes) b = static_cast<char>(rng() % 256);
    if (round % 3 == 0 && bytes.size() >= 2) bytes[0] = bytes[1] = 0;  // short names, so that rows parse further
    EXPECT_FALSE(verify_sim(bytes, "A_B.sim").mismatches.empty());
    const DatFacts d = verify_dat(bytes, "A_B.dat");
    EXPECT_FALSE(d.mismatches.empty());
    const LineFacts l = verify_linea(bytes);
    EXPECT_FALSE(l.mismatches.empty() && bytes.size() > 0);
    SimFacts s = verify_sim(bytes, "");
    verify_set(&s, &d, &l);
  }
}

// The counters a cell kind may hold, at both ends: cell 7 of the built-in
// .dat (an empty cell) given the kind and the value.
struct CellValueCase {
  const char* name;
  std::uint8_t kind;
  std::int16_t word1;
  const char* problem;  // of the one mismatch at cell 7, or "" for none
};

std::ostream& operator<<(std::ostream& os, const CellValueCase& c) { return os << c.name; }

class VerifyCellValue : public ::testing::TestWithParam<CellValueCase> {};

TEST_P(VerifyCellValue, WithinItsRange) {
  const CellValueCase& c = GetParam();
  std::vector<TrainCell> cells = decode_dat(slurp(generator_output() / kDat), kDat);
  cells.at(7).Kind = c.kind;
  cells.at(7).Word1 = c.word1;
  const DatFacts f = verify_dat(serialise_dat(cells), kDat);
  std::vector<Mismatch> want;
  if (*c.problem != '\0') want.push_back({15 * 7 + 1, "cell 7 Word1", c.problem});
  EXPECT_EQ(f.mismatches, want);
}

const CellValueCase kCellValues[] = {
    {"approach_1", kind::kSlowApproach, 1, ""},
    {"approach_4", kind::kSlowApproach, 4, ""},
    {"approach_0", kind::kSlowApproach, 0, "holds 0; a slow-order approach cell counts 1 to 4"},
    {"approach_5", kind::kSlowApproach, 5, "holds 5; a slow-order approach cell counts 1 to 4"},
    {"stop_79", kind::kStop, 79, ""},
    {"stop_80", kind::kStop, 80, "holds 80; a stopping point names a station row, 1 to 79"},
    {"sign_80", kind::kSign, 80, ""},
    {"sign_81", kind::kSign, 81, "holds 81; a sign cell names a sign row, 1 to 80"},
};

INSTANTIATE_TEST_SUITE_P(Kinds, VerifyCellValue, ::testing::ValuesIn(kCellValues),
                         [](const auto& info) { return std::string(info.param.name); });

// A stopping point must name a station of a kind that stops: kinds below 25.
TEST(VerifySet, StopAtAStationKindThatDoesNotStop) {
  const std::string dat = slurp(generator_output() / kDat);
  const DatFacts d = verify_dat(dat, kDat);
  std::size_t stop = 0;
  while (stop < d.cells.size() && d.cells[stop].Kind != kind::kStop) ++stop;
  ASSERT_LT(stop, d.cells.size());
  const int row = d.cells[stop].Word1;
  for (const std::uint8_t station_kind : {std::uint8_t{24}, std::uint8_t{25}}) {
    SCOPED_TRACE(int{station_kind});
    SimFacts s = verify_sim(slurp(generator_output() / kSim), kSim);
    ASSERT_TRUE(s.rows.has_value());
    (*s.rows)[static_cast<std::size_t>(row)].Kind = station_kind;
    const std::vector<SetMismatch> set = verify_set(&s, &d, nullptr);
    if (station_kind == 24) {
      EXPECT_TRUE(set.empty());
      continue;
    }
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].file, SetFile::Dat);
    EXPECT_EQ(set[0].mismatch.field, "cell " + std::to_string(stop) + " Word1");
    EXPECT_EQ(set[0].mismatch.problem.rfind("names row " + std::to_string(row) + ", but that row's station", 0), 0u)
        << set[0].mismatch.problem;
  }
}

TEST(VerifyCodes, PlainAndWeightedCodesOfTheNames) {
  EXPECT_EQ(plain_code({"Castrovelde_Ardis", "R31708"}), 2373);
  EXPECT_EQ(weighted_code({"Castrovelde_Ardis", "R31708"}), 32935);
  EXPECT_EQ(plain_code({"", ""}), 2583);
  EXPECT_EQ(weighted_code({"c", "AB"}), 33756);
}

TEST(VerifyUsage, FoldersAndKinds) {
  TempDir two;
  spit(two.path() / "A_T.sim", "");
  spit(two.path() / "B_T.sim", "");
  RunResult r = run_tool({"verify", two.path().string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "scenario_tool: error: '" + two.path().string() +
                       "' holds 2 .sim files (A_T.sim, B_T.sim); choose one with --route NAME and --train CODE\n");
  RunResult chosen = run_tool({"verify", "--route", "B", two.path().string()});
  EXPECT_EQ(chosen.status, 2);
  EXPECT_EQ(chosen.err, "scenario_tool: error: B_T.sim has no train file " + (two.path() / "B_T.dat").string() +
                            " beside it\n");
  RunResult unknown = run_tool({"verify", "notes.txt"});
  EXPECT_EQ(unknown.status, 2);
  RunResult missing = run_tool({"verify", "/nonexistent/X_T.dat"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "scenario_tool: error: '/nonexistent/X_T.dat' does not exist\n");
}

}  // namespace
}  // namespace scenario::tool
