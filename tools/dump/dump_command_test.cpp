// Tests of dump on the built-in files and of the bounds-checked decoders on broken files.
#include <gtest/gtest.h>

#include "common/binary_files.h"
#include "model/binary_writers.h"
#include "platform/failure.h"
#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

std::string dump(const std::vector<std::string>& args) {
  RunResult r = run_tool(args);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.out;
}

std::size_t count_lines_with(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (const std::string& line : lines_of(text)) n += line.find(part) != std::string::npos;
  return n;
}

// The size of the .sim depends on the place names of the content.
std::string sim_size() { return std::to_string(fs::file_size(generator_output() / "Castrovelde_Ardis_R31708.sim")); }

TEST(DumpBuiltIn, ScenarioFileShowsTheEighteenStations) {
  const std::string out = dump({"dump", (generator_output() / "Castrovelde_Ardis_R31708.sim").string()});
  EXPECT_EQ(first_line(out), "Castrovelde_Ardis_R31708.sim: 87 rows, " + sim_size() + " bytes, 18 stations");
  EXPECT_EQ(count_lines_with(out, "(station)"), 18u);
  EXPECT_EQ(count_lines_with(out, "(sign text)"), 16u);
  EXPECT_NE(out.find("row 1 (station) at byte 34: Kind 12, Start -250, End 250, Position 0, Flag 1, "
                     "Name \"CASTROVELDE\""),
            std::string::npos);
  EXPECT_NE(out.find("Name \"ARDIS\""), std::string::npos);
  EXPECT_NE(out.find("\nrows 19-64: empty\n"), std::string::npos) << "empty rows are folded";
  EXPECT_NE(out.find("row 84 (route) at byte"), std::string::npos);
}

TEST(DumpBuiltIn, TrainFileShowsSignalsAndSpeedRuns) {
  const std::string out = dump({"dump", (generator_output() / "Castrovelde_Ardis_R31708.dat").string()});
  EXPECT_EQ(first_line(out), "Castrovelde_Ardis_R31708.dat: 2061 cells (0-2060, 0-103000 m), 30915 bytes; "
                             "23 signals, 11 station stops, 16 signs");
  EXPECT_EQ(count_lines_with(out, ": signal (kind 1):"), 23u);
  // The JSON counts the cells as the text does: 2061 of them, 0 to 2060.
  const std::string json = dump({"dump", "--json", (generator_output() / "Castrovelde_Ardis_R31708.dat").string()});
  EXPECT_NE(json.find("\"bytes\":30915,\"cell_count\":2061,\"last_cell\":2060,"), std::string::npos) << json.substr(0, 200);
  EXPECT_NE(out.find("  cell 215 at 10750 m: signal (kind 1): Word1 40, Word2 10, Word3 0, Word4 3, Byte1 0, "
                     "Byte2 0\n"),
            std::string::npos);
  EXPECT_NE(out.find("speed limit (Byte4 x 5 km/h):\n"
                     "  cells 0-491: speed 80 km/h\n"
                     "  cells 492-634: speed 40 km/h\n"
                     "  cells 635-674: speed 80 km/h\n"
                     "  cells 675-703: speed 40 km/h\n"
                     "  cells 704-2057: speed 80 km/h\n"
                     "  cells 2058-2060: speed 0 km/h\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("adhesion (Byte6):\n  cells 0-2057: adhesion 100\n  cells 2058-2060: adhesion 0\n"),
            std::string::npos);
  EXPECT_NE(out.find("  cells 1904-2057: gradient 0 per mille\n  cells 2058-2060: no gradient (byte 0)\n"),
            std::string::npos);
}

TEST(DumpBuiltIn, LinePlanShowsTagsAndSampledPoints) {
  const std::string out =
      dump({"dump", "--every", "50000", (generator_output() / "Castrovelde_Ardis_linea.dat").string()});
  const auto lines = lines_of(out);
  ASSERT_EQ(lines.size(), 8u) << out;
  EXPECT_EQ(lines[0], "Castrovelde_Ardis_linea.dat: 103001 points (0-103000 m), 2059964 bytes");
  EXPECT_EQ(lines[1], "X column: 2 int16, 102997 real, 2 empty");
  EXPECT_EQ(lines[2], "Y column: 2 int16, 102997 real, 2 empty");
  EXPECT_EQ(lines[3], "points every 50000 m:");
  EXPECT_EQ(lines[4], "  m 0: x 0.000, y 0.000");
  EXPECT_EQ(lines[7], "  m 103000: x empty, y empty") << "the last point is always shown";
}

TEST(DumpBuiltIn, JsonOfTheScenarioFile) {
  const std::string out = dump({"dump", "--json", (generator_output() / "Castrovelde_Ardis_R31708.sim").string()});
  EXPECT_EQ(out.rfind("{\"file\":\"Castrovelde_Ardis_R31708.sim\",\"kind\":\"sim\",\"bytes\":" + sim_size() +
                          ",\"stations\":18,", 0),
            0u);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << "one JSON document on one line";
}

// A file cut short or padded gives an error that names the byte offset.
struct BrokenFile {
  const char* name;
  const char* file;
  std::size_t keep;       // bytes kept from the file
  std::string appended;   // bytes added after them
  const char* error;      // after "scenario_tool: error: <file>: "
};

std::ostream& operator<<(std::ostream& os, const BrokenFile& c) { return os << c.name; }

class BrokenFiles : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(BrokenFiles, ErrorNamesTheOffset) {
  const BrokenFile& c = GetParam();
  TempDir tmp;
  const std::string bytes = slurp(generator_output() / c.file);
  spit(tmp.path() / c.file, bytes.substr(0, std::min(c.keep, bytes.size())) + c.appended);
  for (const char* json : {"", "--json"}) {
    std::vector<std::string> args = {"dump"};
    if (*json) args.push_back(json);
    args.push_back((tmp.path() / c.file).string());
    RunResult r = run_tool(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("scenario_tool: error: ") + c.file + ": " + c.error + "\n");
  }
}

const BrokenFile kBrokenFiles[] = {
    {"dat_cut_in_cell", "Castrovelde_Ardis_R31708.dat", 31, "",
     "truncated at byte offset 30: cell 2 needs 15 bytes, but only 1 are left"},
    {"dat_empty", "Castrovelde_Ardis_R31708.dat", 0, "", "malformed at byte offset 0: the file holds no train cell"},
    {"sim_cut_in_name", "Castrovelde_Ardis_R31708.sim", 100, "",
     "truncated at byte offset 95: row 2 Name needs 10 bytes, but only 5 are left"},
    {"sim_cut_in_start", "Castrovelde_Ardis_R31708.sim", 36, "",
     "truncated at byte offset 35: row 1 Start needs 4 bytes, but only 1 are left"},
    {"linea_cut_in_real", "Castrovelde_Ardis_linea.dat", 15, "",
     "truncated at byte offset 10: value 2: the file ends inside the value's 8 bytes"},
    {"linea_unknown_tag", "Castrovelde_Ardis_linea.dat", 4, std::string("\x07\x00", 2),
     "malformed at byte offset 4: value 1 type tag: holds 7; a plan value is tagged 0 (empty), 2 (16-bit) or 5 "
     "(real)"},
    {"linea_odd_count", "Castrovelde_Ardis_linea.dat", 4, "",
     "malformed at byte offset 4: the file holds 1 values; a line plan holds an X and a Y column of equal length"},
};

INSTANTIATE_TEST_SUITE_P(Offsets, BrokenFiles, ::testing::ValuesIn(kBrokenFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DumpErrors, BytesAfterTheLastRow) {
  TempDir tmp;
  const fs::path file = tmp.path() / "Castrovelde_Ardis_R31708.sim";
  spit(file, slurp(generator_output() / "Castrovelde_Ardis_R31708.sim") + "xyz");
  RunResult r = run_tool({"dump", file.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "scenario_tool: error: Castrovelde_Ardis_R31708.sim: malformed at byte offset " + sim_size() +
                       ": 3 bytes follow row 86, the last row\n");
}

TEST(DumpErrors, UnknownKindAndMissingFile) {
  RunResult unknown = run_tool({"dump", "notes.txt"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "scenario_tool: error: notes.txt: unknown file kind; dump reads <route>_<train>.sim, "
                         "<route>_<train>.dat and <route>_linea.dat\n");
  RunResult missing = run_tool({"dump", "/nonexistent/X_T.dat"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "scenario_tool: error: cannot open '/nonexistent/X_T.dat': No such file or directory\n");
}

// The decoders read back exactly what the model's writers wrote.
TEST(Decoders, RoundTripThroughTheWriters) {
  ScenarioRows rows{};
  rows[3] = ScenarioRecord{7, -250, 250, 0, 1, "A,B", -2, 3, 4, 5, 6, 7, 8, 9, 10, 29220};
  rows[86].Name = "T1";
  std::vector<TrainCell> cells(5);
  cells[4] = TrainCell{14, 80, -1, 2, 3, 4, 5, 6, 7, 8, 255};
  LinePlan plan;
  plan.create(3);
  plan.set_int(0, 0, -7);
  plan.set_real(1, 1, -0.125);

  EXPECT_EQ(decode_sim(serialise_sim(rows), "x.sim").rows, rows);
  EXPECT_EQ(decode_dat(serialise_dat(cells), "x.dat"), cells);
  LineValues v = decode_linea(serialise_linea(plan), "x_linea.dat");
  ASSERT_EQ(v.x.size(), 4u);
  EXPECT_EQ(v.x[0].tag, LineTag::Int16);
  EXPECT_EQ(v.x[0].value, -7);
  EXPECT_EQ(v.y[1].tag, LineTag::Real);
  EXPECT_EQ(v.y[1].value, -0.125);
  EXPECT_EQ(v.y[3].tag, LineTag::Empty);
}

}  // namespace
}  // namespace scenario::tool

namespace scenario::tool {
namespace {

using namespace testing;

// Names are 8-bit text: shown as Latin-1, with control bytes escaped, never raw.
TEST(DumpText, NamesShownAsLatin1WithControlBytesEscaped) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path train = tmp.path() / "Prova_T1-.txt";
  std::string text = slurp(train);
  text.replace(text.find("SECONDA"), 7, "FORL\xEC\x1b[2J");
  spit(train, text);
  ASSERT_EQ(run_tool({"compile", tmp.path().string()}).status, 0);

  RunResult r = run_tool({"dump", (tmp.path() / "Prova_T1.sim").string()});
  EXPECT_NE(r.out.find("Name \"FORL\xC3\xAC\\x1b[2J\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << "no raw escape byte";
}

}  // namespace
}  // namespace scenario::tool
