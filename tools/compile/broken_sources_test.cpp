// Broken sources as a new author writes them: the exact place and words of the first message, and the place in JSON.
#include <gtest/gtest.h>

#include "common/tool_test_support.h"

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
