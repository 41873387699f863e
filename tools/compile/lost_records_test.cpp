// Tests that no record an author writes is lost or misread without a word: each case's exact place, text and exit status.
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

// One edit of the good fixture, and the first message it must draw.
struct LostCase {
  const char* name;
  const char* file;
  std::string old;
  std::string now;
  int status;             // of `check`
  std::string expected;   // the first line of stderr, after "<dir>/"
};

std::ostream& operator<<(std::ostream& os, const LostCase& c) { return os << c.name; }

// The fixture's train source as UTF-16 (little-endian, with its mark), as an
// editor may save it.
std::string utf16(const std::string& latin1) {
  std::string out = "\xff\xfe";
  for (char c : latin1) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}

const LostCase kCases[] = {
    {"misspelt_train_header", "Prova_T1-.txt", "[generale]", "[generle]", 1,
     "Prova_T1-.txt:1:1: error: nothing in this file is read: it has no '[generale]' line, and everything before "
     "that line is passed over [-Wno-general]"},
    {"unclosed_train_header", "Prova_T1-.txt", "[generale]", "[Generale", 1,
     "Prova_T1-.txt:1:1: error: nothing in this file is read: it has no '[generale]' line, and everything before "
     "that line is passed over [-Wno-general]"},
    {"misspelt_station", "Prova_T1-.txt", "stazione,    9000", "stazzione,    9000", 1,
     "Prova_T1-.txt:13:1: error: 'stazzione' matches no keyword and is ignored; did you mean 'stazione'? "
     "[-Wunknown-keyword]"},
    {"misspelt_signal", "Prova_T1-.txt", "segnale,    8500", "segnal,    8500", 1,
     "Prova_T1-.txt:18:1: error: 'segnal' matches no keyword and is ignored; did you mean 'segnale'? "
     "[-Wunknown-keyword]"},
    {"near_miss", "Prova_linea.txt", "pendenza,  500,   3", "pendnza,  500,   3", 1,
     "Prova_linea.txt:16:1: error: 'pendnza' matches no keyword and is ignored; did you mean 'pendenza'? "
     "[-Wunknown-keyword]"},
    {"case_sensitive_words", "Prova_linea.txt", "progressiva chilometrica due", "Progressiva chilometrica due", 1,
     "Prova_linea.txt:4:1: error: 'Progressiva chilometrica due' matches no keyword and is ignored; its words are "
     "case-sensitive: did you mean 'progressiva chilometrica due'? [-Wunknown-keyword]"},
    {"extra_value", "Prova_T1-.txt", "sabbia,    300", "sabbia,    300, 5", 1,
     "Prova_T1-.txt:4:17: error: the value '5' follows a complete record and is ignored; is it one value too many? "
     "[-Wunknown-keyword]"},
    {"no_hint_when_far", "Prova_T1-.txt", "[aderenze]\r\n", "[aderenze]\r\nferrovia\r\n", 1,
     "Prova_T1-.txt:7:1: error: 'ferrovia' matches no keyword and is ignored [-Wunknown-keyword]"},
    {"station_in_line_source", "Prova_linea.txt", "[montagne]\r\n", "[montagne]\r\nstazione, 5000\r\n", 1,
     "Prova_linea.txt:19:1: error: 'stazione' is a keyword of the train source and is ignored here; it belongs in "
     "the train source [-Wother-source]"},
    {"gradient_in_train_source", "Prova_T1-.txt", "[aderenze]\r\n", "[aderenze]\r\npendenza, 500, 3\r\n", 1,
     "Prova_T1-.txt:7:1: error: 'pendenza' is a keyword of the line source and is ignored here; it belongs in the "
     "line source [-Wother-source]"},
    {"third_comment_starts_a_record", "Prova_linea.txt", "- Altitudine iniziale = 9 m.\r\n",
     "- Altitudine iniziale = 9 m.\r\n- seconda nota\r\n- nota sulla pendenza\r\n", 1,
     "Prova_linea.txt:16:1: error: '- nota sulla pendenza': the comment lines before it are skipped, but this one "
     "is read as a keyword field (it starts a record); too many comment lines in a row [-Wcomment-read]"},
    {"third_comment_vanishes", "Prova_T1-.txt", "[aderenze]\r\n", "[aderenze]\r\n- uno\r\n- due\r\n- tre\r\n", 1,
     "Prova_T1-.txt:9:1: error: '- tre': the comment lines before it are skipped, but this one is read as a "
     "keyword field (it matches no keyword and is ignored); too many comment lines in a row [-Wcomment-read]"},
    {"second_route_length", "Prova_linea.txt", "lunghezza percorso,    20000\r\n",
     "lunghezza percorso,    20000\r\nlunghezza percorso,    20000\r\n", 0,
     "Prova_linea.txt:2:1: warning: this route length is replaced by the route length on line 3, which wins; "
     "nothing of this one reaches the files [-Woverwritten]"},
};

class LostRecords : public ::testing::TestWithParam<LostCase> {};

TEST_P(LostRecords, CheckNamesThePlaceAndTheExitStatus) {
  const LostCase& c = GetParam();
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path file = tmp.path() / c.file;
  spit(file, replaced(slurp(file), c.old, c.now));

  RunResult r = run_tool({"check", tmp.path().string()});
  EXPECT_EQ(r.status, c.status) << r.err;
  EXPECT_EQ(first_line(r.err), (tmp.path() / c.expected).string()) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, LostRecords, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LostRecords, Utf16SourceIsOneError) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path train = tmp.path() / "Prova_T1-.txt";
  spit(train, utf16(slurp(train)));
  RunResult r = run_tool({"check", tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(first_line(r.err).find(train.string() + ":1:"), 0u) << r.err;
  EXPECT_NE(first_line(r.err).find(": error: this file is not a text file"), std::string::npos) << r.err;
  EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings") << r.err;
}

// A train source whose "[generale]" no record follows is read to its end and
// gives nothing: one error at the header; a source with a record gives none.
struct EmptyGeneralCase {
  const char* name;
  std::string train;  // the whole train source
  int status;         // of `check`
  std::string place;  // "LINE:COLUMN" of the error, or "" when there is none
};

std::ostream& operator<<(std::ostream& os, const EmptyGeneralCase& c) { return os << c.name; }

const EmptyGeneralCase kEmptyGeneral[] = {
    {"header_and_end", "[generale]\r\n[fine]\r\n", 1, "1:1"},
    {"header_alone", "[generale]\r\n", 1, "1:1"},
    {"comments_blanks_and_headers", "- treno vuoto\r\n\r\n[generale]\r\n- nulla\r\n\r\n[aderenze]\r\n[fine]\r\n", 1,
     "3:1"},
    {"one_record", "[generale]\r\nsabbia,    300\r\n[fine]\r\n", 0, ""},
};

class EmptyGeneral : public ::testing::TestWithParam<EmptyGeneralCase> {};

TEST_P(EmptyGeneral, ErrorAtTheHeader) {
  const EmptyGeneralCase& c = GetParam();
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path train = tmp.path() / "Prova_T1-.txt";
  spit(train, c.train);

  RunResult r = run_tool({"check", tmp.path().string()});
  EXPECT_EQ(r.status, c.status) << r.err;
  const std::string message =
      train.string() + ":" + c.place +
      ": error: no record follows '[generale]': nothing in this file reaches the files, and the train would run "
      "with no stations, no signals and a speed limit of 0 all along the route [-Wempty-general]";
  if (c.place.empty()) {
    EXPECT_EQ(r.err.find("[-Wempty-general]"), std::string::npos) << r.err;
  } else {
    EXPECT_EQ(first_line(r.err), message) << r.err;
    EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings") << r.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, EmptyGeneral, ::testing::ValuesIn(kEmptyGeneral),
                         [](const auto& info) { return std::string(info.param.name); });

// An error of a lost record can be lowered to a warning, and --force writes
// what the generator writes from the same sources.
TEST(LostRecords, LoweredOrForced) {
  TempDir tmp, out;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path line = tmp.path() / "Prova_linea.txt";
  spit(line, replaced(slurp(line), "pendenza,  500,   3", "pendnza,  500,   3"));

  RunResult lowered = run_tool({"check", "-Wunknown-keyword", tmp.path().string()});
  EXPECT_EQ(lowered.status, 0) << lowered.err;
  EXPECT_NE(lowered.err.find(": warning: 'pendnza' matches no keyword"), std::string::npos) << lowered.err;

  RunResult refused = run_tool({"compile", "-o", out.path().string(), tmp.path().string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_FALSE(fs::exists(out.path() / "Prova_T1.dat"));
  RunResult forced = run_tool({"compile", "--force", "-o", out.path().string(), tmp.path().string()});
  EXPECT_EQ(forced.status, 1);
  EXPECT_TRUE(fs::exists(out.path() / "Prova_T1.dat"));
}

// `check` ends with what was read: the records by kind and the lines not read.
TEST(LostRecords, CheckSaysWhatWasRead) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  RunResult r = run_tool({"check", tmp.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nread 28 records: 1 route length, 3 chainage changes, 3 backgrounds"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("; every line is accounted for\n"), std::string::npos) << r.out;

  // A pass that stops at an error leaves the lines after it unread.
  const fs::path train = tmp.path() / "Prova_T1-.txt";
  spit(train, replaced(slurp(train), "stazione,    9000", "stazione,    9010"));
  RunResult stopped = run_tool({"check", tmp.path().string()});
  EXPECT_EQ(stopped.status, 1);
  EXPECT_NE(stopped.out.find("; 6 lines not read\n"), std::string::npos) << stopped.out;
}

}  // namespace
}  // namespace scenario::tool
