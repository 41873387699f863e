// Broken sources as a new author writes them: the exact place and words of the first message, and the place in JSON.
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

std::string repeated_signs(int n) {
  std::string out;
  for (int i = 1; i <= n; ++i) out += "cartello_indicatore,  " + std::to_string(100 * i) + ",   (c)\r\n";
  return out;
}

// The good fixture with one text replaced in one source.
struct Edit {
  std::string old;
  std::string now;
};

struct Broken {
  const char* name;
  const char* file;
  std::vector<Edit> edits;
  int line;
  int column;
  std::string message;  // the first line after "FILE:LINE:COLUMN: error: "
  std::string quoted;   // the source line quoted under it, without the indent
};

void PrintTo(const Broken& c, std::ostream* os) { *os << c.name; }

class BrokenSource : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenSource, PlaceAndWords) {
  const Broken& c = GetParam();
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  std::string text = slurp(tmp.path() / c.file);
  for (const Edit& e : c.edits) text = replaced(text, e.old, e.now);
  spit(tmp.path() / c.file, text);
  const std::string where = (tmp.path() / c.file).string() + ":" + std::to_string(c.line) + ":" +
                            std::to_string(c.column);

  RunResult r = run_tool({"compile", tmp.path().string()});
  const std::vector<std::string> lines = lines_of(r.err);

  EXPECT_EQ(r.status, 1);
  ASSERT_GE(lines.size(), 3u) << r.err;
  EXPECT_EQ(lines[0], where + ": error: " + c.message);
  EXPECT_EQ(lines[1], "  " + c.quoted);
  EXPECT_EQ(lines[2].find('^'), 2 + static_cast<std::size_t>(c.column) - 1) << "the caret stands under column "
                                                                            << c.column;
  EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings") << r.err;

  RunResult json = run_tool({"compile", "--diagnostics=json", tmp.path().string()});
  EXPECT_EQ(first_line(json.out).rfind("{\"file\":\"" + (tmp.path() / c.file).string() + "\",\"line\":" +
                                           std::to_string(c.line) + ",\"column\":" + std::to_string(c.column) + ",",
                                       0),
            0u)
      << json.out;
}

const Broken kBroken[] = {
    // The reader takes the next line's keyword as the missing value; the
    // error stands where that value belongs, on the record's own line.
    {"gradient_missing_its_last_field", "Prova_linea.txt", {{"pendenza,  500,   3", "pendenza,  500"}}, 16, 15,
     "this gradient record is short: its line ends after the gradient's position, field 1, so the gradient's value, "
     "field 2, is missing; the compiler read 'pendenza' from the next line in its place and stops there",
     "pendenza,  500"},
    {"misspelt_general_header", "Prova_linea.txt", {{"[generale]", "[generle]"}}, 1, 1,
     "the line source has no '[generale]' line, so the compiler finds no general section; did you mean "
     "'[generale]'?",
     "[generle]"},
    {"station_missing_a_field", "Prova_T1-.txt", {{"stazione,    9000, 12,  300,  1,", "stazione,    9000, 12,  1,"}},
     13, 25,
     "this station record is short: its line holds 16 of its 17 fields after the keyword, so a field is missing; "
     "the station's length, field 3, is 1 m, which is not a multiple of 100",
     "stazione,    9000, 12,  1, 0, 0,  4,1,0,  2,1,1,   30,   8,15, 0, SECONDA"},
    // The line still holds 17 fields' worth of text, so the name is read as
    // the seconds: the record is short all the same.
    {"station_short_by_its_seconds", "Prova_T1-.txt", {{"2,1,1,   30,   8,15", "2,1,1,   8,15"}}, 13, 67,
     "this station record is short: its line holds 16 of its 17 fields after the keyword, so a field is missing; "
     "the station's seconds, field 16, holds 'SECONDA', which is not a number (a 32-bit number expected); the "
     "compiler stops reading here",
     "stazione,    9000, 12,  300,  1, 0, 0,  4,1,0,  2,1,1,   8,15, 0, SECONDA"},
    // So negative that it leaves no train cell at all.
    {"route_length_without_cells", "Prova_linea.txt", {{"lunghezza percorso,    20000", "lunghezza percorso,    -20000"}},
     2, 24, "the route's length, field 1, is -20000 m; a route's length cannot be negative",
     "lunghezza percorso,    -20000"},
    // The curve then passes the track plan's last point; the error is the length's.
    {"negative_route_length", "Prova_linea.txt",
     {{"lunghezza percorso,    20000", "lunghezza percorso,    -5000"},
      {"curvas4,  250,  400\r\ncurvad5,  3000,  500", "curvad4,  1000,  1500"}},
     2, 24, "the route's length, field 1, is -5000 m; a route's length cannot be negative",
     "lunghezza percorso,    -5000"},
    {"text_in_a_numeric_field", "Prova_linea.txt", {{"montagna,   2000,  3000,  11", "montagna,   2000,  tremila,  11"}},
     19, 20,
     "the range's end, field 2, holds 'tremila', which is not a number (a 32-bit number expected); the compiler "
     "stops reading here",
     "montagna,   2000,  tremila,  11"},
    // Rows 80 to 1 hold 80 signs: the 81st of 82 is the first without a row.
    {"eighty_second_sign", "Prova_linea.txt", {{"cartello_indicatore,  1950,   (Galleria)(Prova)\r\n",
     repeated_signs(82)}}, 103, 1,
     "one indication sign too many: the scenario table holds at most 80 signs, in rows 1 to 80",
     "cartello_indicatore,  8100,   (c)"},
    {"slow_order_on_a_signal", "Prova_T1-.txt",
     {{"[fine]\r\n", "rallentamento,  4000,  60,  500,  0,  0,  0\r\n[fine]\r\n"}}, 19, 17,
     "the slow order at 4000 m: its start falls in cell 81 (4050 m), which already holds a signal; it needs a cell "
     "that is empty or holds only a montagna marker",
     "rallentamento,  4000,  60,  500,  0,  0,  0"},
    {"stamp_guard_1250", "Prova_T1-.txt", {{"[segnali]\r\n", "[segnali]\r\nabbattimento,  50,  30\r\n"}}, 17, 16,
     "the stamp guard stops the generator with \" Errore n. 1250\": the speed reduction at 50 m (the reduction's "
     "position, field 1) puts a speed reduction mark into cell 1, which is reserved for the check codes; place it "
     "further along the route",
     "abbattimento,  50,  30"},
    {"stamp_guard_1251", "Prova_linea.txt", {{"indicatori_vmax,  550,  80,", "indicatori_vmax,  0,  0,"}}, 21, 19,
     "the stamp guard stops the generator with \" Errore n. 1251\": the speed indicator board at 0 m (the board's "
     "position, field 1) puts a speed indicator board into cell 1, which is reserved for the check codes; place "
     "it further along the route",
     "indicatori_vmax,  0,  0,  80,  80,  0,  ,  ,  ,  0"},
    // The speed is converted when the cells are filled: by the next speed
    // row, or at the end of the pass for the last one. Either way the error
    // stands at the speed as written, in km/h.
    {"speed_above_a_cell_followed_by_a_row", "Prova_T1-.txt", {{"velocita,       0,    80", "velocita, 0, 1300"}}, 9,
     14,
     "the speed limit in km/h, field 2, is 1300 km/h; 1275 km/h is the largest speed a cell holds (in steps of 5 "
     "km/h, so at most 1277 km/h may be written); the compiler stops reading here",
     "velocita, 0, 1300"},
    {"speed_above_a_cell_on_the_last_row", "Prova_T1-.txt", {{"velocita,   8000,    60", "velocita, 3000, 1300"}},
     10, 17,
     "the speed limit in km/h, field 2, is 1300 km/h; 1275 km/h is the largest speed a cell holds (in steps of 5 "
     "km/h, so at most 1277 km/h may be written); the compiler stops reading here",
     "velocita, 3000, 1300"},
    {"speed_one_above_the_largest_written", "Prova_T1-.txt", {{"velocita,   8000,    60", "velocita, 3000, 1278"}},
     10, 17,
     "the speed limit in km/h, field 2, is 1278 km/h; 1275 km/h is the largest speed a cell holds (in steps of 5 "
     "km/h, so at most 1277 km/h may be written); the compiler stops reading here",
     "velocita, 3000, 1278"},
    {"speed_below_zero", "Prova_T1-.txt", {{"velocita,   8000,    60", "velocita, 3000, -3"}}, 10, 17,
     "the speed limit in km/h, field 2, is -3 km/h; 0 km/h is the lowest speed a cell holds (in steps of 5 km/h, so "
     "at least -2 km/h may be written); the compiler stops reading here",
     "velocita, 3000, -3"},
    // A signal's approach marks reach 8 cells behind its own.
    {"signal_below_its_lowest_position", "Prova_T1-.txt", {{"segnale,    4000", "segnale,    300"}}, 17, 13,
     "the signal at 300 m (the signal's position, field 1) needs its 4 approach marks in the 8 cells behind its own, "
     "down to cell -1 (-50 m), before the first train cell; a signal may stand at 325 m at the lowest (350 m as a "
     "multiple of 50); the compiler stops reading here",
     "segnale,    300,   1, 4, 1,  0, 0,    0,  0,0,0, 0"},
    {"signal_one_metre_below_its_lowest_position", "Prova_T1-.txt", {{"segnale,    4000", "segnale,    324"}}, 17, 13,
     "the signal at 324 m (the signal's position, field 1) needs its 4 approach marks in the 8 cells behind its own, "
     "down to cell -1 (-50 m), before the first train cell; a signal may stand at 325 m at the lowest (350 m as a "
     "multiple of 50); the compiler stops reading here",
     "segnale,    324,   1, 4, 1,  0, 0,    0,  0,0,0, 0"},
    {"slow_order_before_the_first_cell", "Prova_T1-.txt",
     {{"[fine]\r\n", "rallentamento,  -100,  60,  500,  0,  0,  0\r\n[fine]\r\n"}}, 19, 17,
     "this slow order (the slow order's start, field 1) needs cell -1 (-50 m), before the first train cell (cell 0, "
     "at 0 m); the compiler stops reading here",
     "rallentamento,  -100,  60,  500,  0,  0,  0"},
    // A negative length leaves the curves and rows that follow past the
    // cells; the error is the length's, whatever comes after it.
    {"negative_route_length_then_a_curve", "Prova_linea.txt",
     {{"lunghezza percorso,    20000", "lunghezza percorso,    -5000"}}, 2, 24,
     "the route's length, field 1, is -5000 m; a route's length cannot be negative", "lunghezza percorso,    -5000"},
    {"negative_route_length_then_a_speed_row", "Prova_linea.txt",
     {{"lunghezza percorso,    20000", "lunghezza percorso,    -1"}}, 2, 24,
     "the route's length, field 1, is -1 m; a route's length cannot be negative", "lunghezza percorso,    -1"},
    // One fact, one message: no lint warning repeats this error.
    {"station_before_the_previous", "Prova_T1-.txt", {{"stazione,   19900", "stazione,    5000"}}, 14, 14,
     "the station zone at 5000 m (the station's position, field 1) starts 4450 m before the previous zone ends; at "
     "least 350 m are needed (this zone runs from 4700 to 5300 m, the zone of SECONDA ends at 9150 m)",
     "stazione,    5000,  2,  600,  1, 1, 0,  1,1,0,  2,1,1,    0,   8,30, 0, ULTIMA"},
    {"signal_on_an_indication_sign", "Prova_T1-.txt", {{"segnale,    4000", "segnale,    1950"}}, 17, 13,
     "the signal at 1950 m (the signal's position, field 1) goes to cell 40 (2000 m), which already holds an "
     "indication sign; it needs a cell that is empty or holds only a montagna marker",
     "segnale,    1950,   1, 4, 1,  0, 0,    0,  0,0,0, 0"},
};

INSTANTIATE_TEST_SUITE_P(AsAuthorsWriteThem, BrokenSource, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

// A name too long for its 16-bit length has a place like every other error.
TEST(BrokenSourceLimits, OverLongNameHasAPlaceInTextAndJson) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path train = tmp.path() / "Prova_T1-.txt";
  spit(train, replaced(slurp(train), "SECONDA", std::string(200'000, 'N')));
  const std::string where = train.string() + ":13:73";

  RunResult r = run_tool({"compile", tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(first_line(r.err), where + ": error: the station's name, field 17, is 200000 bytes long; a text holds at "
                                       "most 65535 bytes, so the files cannot be written");
  EXPECT_LE(r.err.size(), 4096u) << "the name is not repeated in full";
  EXPECT_EQ(snapshot(tmp.path()).size(), 2u) << "nothing is written";

  RunResult json = run_tool({"compile", "--diagnostics=json", tmp.path().string()});
  EXPECT_EQ(first_line(json.out).rfind("{\"file\":\"" + train.string() + "\",\"line\":13,\"column\":73,", 0), 0u)
      << json.out.substr(0, 500);
}

}  // namespace
}  // namespace scenario::tool
