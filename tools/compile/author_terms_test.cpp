// Messages in the author's terms: text limits at their boundary, empty sources, hints and curves, with place and exit status.
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

struct Worded {
  const char* name;
  const char* file;
  std::string old;    // the fixture text replaced; empty: the whole file
  std::string now;
  int status;
  std::string first;  // the first line on stderr after "FILE:"; empty: no message at all
  std::string last;   // the count line
};

void PrintTo(const Worded& c, std::ostream* os) { *os << c.name; }

class AuthorTerms : public ::testing::TestWithParam<Worded> {};

TEST_P(AuthorTerms, PlaceWordsAndStatus) {
  const Worded& c = GetParam();
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path file = tmp.path() / c.file;
  spit(file, c.old.empty() ? c.now : replaced(slurp(file), c.old, c.now));

  RunResult r = run_tool({"compile", tmp.path().string()});

  EXPECT_EQ(r.status, c.status) << r.err.substr(0, 2000);
  if (c.first.empty()) {
    EXPECT_EQ(r.err, c.last + "\n");
  } else {
    EXPECT_EQ(first_line(r.err), file.string() + ":" + c.first);
    EXPECT_LE(r.err.size(), 4096u) << "a long text is not repeated in full";
  }
  EXPECT_EQ(lines_of(r.err).back(), c.last);
}

const std::string kNameTooLong = "13:73: error: the station's name, field 17, is 65536 bytes long; a text holds at most "
                                 "65535 bytes, so the files cannot be written";

const Worded kWorded[] = {
    // A text's limit is its record's 16-bit length, not the length of a
    // message; the error alone tells a text too long, with no warning beside it.
    {"station_name_of_3000_bytes", "Prova_T1-.txt", "SECONDA", std::string(3000, 'N'), 0, "", "0 errors, 0 warnings"},
    {"station_name_of_65535_bytes", "Prova_T1-.txt", "SECONDA", std::string(65535, 'N'), 0, "",
     "0 errors, 0 warnings"},
    {"station_name_of_65536_bytes", "Prova_T1-.txt", "SECONDA", std::string(65536, 'N'), 1, kNameTooLong,
     "1 error, 0 warnings"},
    {"station_name_of_100_kB", "Prova_T1-.txt", "SECONDA", std::string(100'000, 'N'), 1,
     "13:73: error: the station's name, field 17, is 100000 bytes long; a text holds at most 65535 bytes, so the "
     "files cannot be written",
     "1 error, 0 warnings"},
    {"sign_text_of_70000_bytes", "Prova_linea.txt", "(Galleria)(Prova)", std::string(70'000, 'G'), 1,
     "23:31: error: the sign's text, field 2, is 70000 bytes long; a text holds at most 65535 bytes, so the files "
     "cannot be written",
     "1 error, 0 warnings"},
    // An empty source is not a field cut short.
    {"empty_train_source", "Prova_T1-.txt", "", "", 1,
     "1:1: error: the train source is empty: there is no field to read, and the compiler stops here",
     "1 error, 0 warnings"},
    {"empty_line_source", "Prova_linea.txt", "", "", 1,
     "1:1: error: the line source is empty: there is no field to read, and the compiler stops here",
     "1 error, 0 warnings"},
    // A hint never repeats what was written.
    {"general_keyword_in_the_body", "Prova_linea.txt", "[pendenze]\r\n", "[pendenze]\r\nsfondo uno,    100\r\n", 1,
     "14:1: error: 'sfondo uno' is a record of the general section and is read only there; after that section it "
     "is ignored [-Wunknown-keyword]",
     "1 error, 0 warnings"},
    {"general_keyword_in_the_wrong_case", "Prova_linea.txt", "[pendenze]\r\n", "[pendenze]\r\nSfondo uno,    100\r\n",
     1,
     "14:1: error: 'Sfondo uno' matches no keyword and is ignored; its words are case-sensitive: did you mean "
     "'sfondo uno'? [-Wunknown-keyword]",
     "1 error, 0 warnings"},
    // A curve that leaves no curved point of the plan.
    {"curve_of_zero_length", "Prova_linea.txt", "curvad5,  3000,  500", "curvad5,  3000,  0", 0,
     "12:18: warning: this curve is 0 m long, so it draws no curved point: the plan runs straight on from 3000 m "
     "[-Wempty-curve]",
     "0 errors, 1 warning"},
    // A curve that draws no point at all, straight or curved, writes nothing:
    // one warning says so, not two.
    {"curve_drawing_no_point_at_all", "Prova_linea.txt", "curvas4,  250,  400", "curvas4,  0,  1", 0,
     "11:1: warning: this curve writes nothing into the files: it draws no point of the plan, as the plan already "
     "reaches past its end [-Wno-effect]",
     "0 errors, 1 warning"},
    {"curve_reaching_the_next_point", "Prova_linea.txt", "curvas4,  250,  400", "curvas4,  0,  2", 0, "",
     "0 errors, 0 warnings"},
    // The lowest position a signal may take compiles.
    {"signal_at_its_lowest_position", "Prova_T1-.txt", "segnale,    4000", "segnale,    350", 0, "",
     "0 errors, 0 warnings"},
};

INSTANTIATE_TEST_SUITE_P(Cases, AuthorTerms, ::testing::ValuesIn(kWorded),
                         [](const auto& info) { return std::string(info.param.name); });

// Counts agree with their noun: "1 sign", "2 signals".
TEST(AuthorTermsCounts, SummaryLineSaysOneSign) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  RunResult r = run_tool({"compile", tmp.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(first_line(r.out), "compiled Prova / T1: route 20000 m, 541 cells, 3 stations, 2 signals, 1 sign; wrote 3 "
                               "files to " + tmp.path().string());
}

}  // namespace
}  // namespace scenario::tool
