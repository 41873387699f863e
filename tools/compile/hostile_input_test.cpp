// Tests of what compile shows for hostile or mistaken input: bounded, escaped, 8-bit text shown as Latin-1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

constexpr std::size_t kOutputLimit = 64 * 1024;

// The good fixture, or another, with one text replaced in one source.
void prepare(const fs::path& dir, const char* file, const std::string& old, const std::string& now,
             const char* from = "ok") {
  copy_dir(fixture(from), dir);
  spit(dir / file, replaced(slurp(dir / file), old, now));
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A byte a terminal would act on: a C0 control other than the line feed the
// output's own lines end with, DEL, or a raw C1 control (in UTF-8, C2 80-9F).
bool holds_raw_control(const std::string& out) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if ((c < 0x20 && c != '\n') || c == 0x7f) return true;
    if (c == 0xC2 && i + 1 < out.size() && static_cast<unsigned char>(out[i + 1]) < 0xA0) return true;
  }
  return false;
}

struct LongLine {
  const char* name;
  std::string line;
};

std::ostream& operator<<(std::ostream& os, const LongLine& c) { return os << c.name; }

class BoundedOutput : public ::testing::TestWithParam<LongLine> {};

// A single huge line in the train source: the output stays small, in text and
// in JSON, however many fields the line holds.
TEST_P(BoundedOutput, AtMost64KiB) {
  TempDir tmp;
  prepare(tmp.path(), "Prova_T1-.txt", "[generale]\r\n", "[generale]\r\n" + GetParam().line + "\r\n");
  for (const char* format : {"--diagnostics=text", "--diagnostics=json"}) {
    RunResult r = run_tool({"compile", format, tmp.path().string()});
    EXPECT_LE(r.out.size() + r.err.size(), kOutputLimit) << format;
    EXPECT_FALSE(holds_raw_control(r.out + r.err));
  }
}

std::string repeated(const std::string& part, std::size_t times) {
  std::string out;
  out.reserve(part.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += part;
  return out;
}

std::vector<LongLine> long_lines() {
  return {{"zz_600k", repeated("zz,", 200'000)}, {"commas_2m", std::string(2'000'000, ',')}};
}

INSTANTIATE_TEST_SUITE_P(Lines, BoundedOutput, ::testing::ValuesIn(long_lines()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BoundedOutputCounts, TwentyOfANameThenOneLine) {
  TempDir tmp;
  prepare(tmp.path(), "Prova_T1-.txt", "[generale]\r\n", "[generale]\r\n" + repeated("zz,", 200'000) + "\r\n");

  RunResult r = run_tool({"compile", tmp.path().string()});
  EXPECT_LE(r.out.size() + r.err.size(), kOutputLimit);
  EXPECT_EQ(count_of(r.err, "[-Wunknown-keyword]"), 20u);
  EXPECT_NE(r.err.find(": note: 199980 more like this not shown"), std::string::npos) << r.err.substr(0, 2000);

  RunResult more = run_tool({"compile", "--max-diagnostics", "30", tmp.path().string()});
  EXPECT_EQ(count_of(more.err, "[-Wunknown-keyword]"), 30u);

  RunResult bad = run_tool({"compile", "--max-diagnostics", "many", tmp.path().string()});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(first_line(bad.err), "scenario_tool: error: --max-diagnostics takes a whole number (0 shows all), not 'many'");
}

// ESC, BEL and NUL in a station name and in a sign text come out escaped.
TEST(EscapedOutput, ControlBytesInNamesAndSigns) {
  TempDir tmp;
  prepare(tmp.path(), "Prova_T1-.txt", "SECONDA", std::string("SEC\x1b[2JONDA\x07\0X", 14));
  const fs::path line = tmp.path() / "Prova_linea.txt";
  spit(line, replaced(slurp(line), "(Galleria)(Prova)", std::string("(Galleria)\x1b]0;x\x07\0", 17)));

  RunResult text = run_tool({"compile", tmp.path().string()});
  RunResult json = run_tool({"compile", "--diagnostics=json", tmp.path().string()});

  for (const std::string& out : {text.out + text.err, json.out + json.err}) {
    EXPECT_FALSE(holds_raw_control(out)) << out;
  }
  EXPECT_NE(text.err.find("'SEC\\x1b[2JONDA\\x07\\0X'"), std::string::npos) << text.err;
  EXPECT_NE(text.err.find("'(Galleria)\\x1b]0;x\\x07\\0'"), std::string::npos) << text.err;
  EXPECT_NE(json.out.find("'SEC\\\\x1b[2JONDA\\\\x07\\\\0X'"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("'(Galleria)\\\\x1b]0;x\\\\x07\\\\0'"), std::string::npos) << json.out;
}

// A binary file given as the train source: one "not a text file" warning at
// its first NUL byte, and none of the field warnings its bytes would raise.
TEST(EscapedOutput, BinaryFileIsOneDiagnostic) {
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  std::string bytes = std::string("\x7f" "ELF\x02\x01\x01\0", 8);
  std::uint32_t x = 12345;
  for (int i = 0; i < 20'000; ++i) {
    x = x * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(x >> 24));
  }
  spit(tmp.path() / "Prova_T1-.txt", bytes);

  for (const char* format : {"--diagnostics=text", "--diagnostics=json"}) {
    RunResult r = run_tool({"compile", format, tmp.path().string()});
    const std::string out = r.out + r.err;
    EXPECT_FALSE(holds_raw_control(out)) << format;
    EXPECT_LE(out.size(), kOutputLimit) << format;
    EXPECT_EQ(count_of(out, "not a text file"), 1u) << out;
    EXPECT_EQ(lines_of(r.err).back(), "1 error, 0 warnings") << out;
  }
  RunResult r = run_tool({"compile", tmp.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind((tmp.path() / "Prova_T1-.txt").string() + ":1:8: error: this file is not a text file", 0),
            0u)
      << r.err;
}

// One source holds a NUL byte, the other a field it ignores: the field
// messages of the binary source are left out, those of the text one stay.
TEST(EscapedOutput, FieldWarningsOfTheOtherSourceStay) {
  struct Case {
    const char* binary;  // the source with a NUL byte after its [fine]
    const char* text;    // the source with a field warning
    const char* old;
    const char* now;
    const char* place;  // of the field warning, "LINE:COLUMN"
  };
  const Case cases[] = {
      {"Prova_T1-.txt", "Prova_linea.txt", "pendenza,  500,   3", "pendnza,  500,   3", "16:1"},
      {"Prova_linea.txt", "Prova_T1-.txt", "sabbia,    300", "sabbia,    300, 5", "4:17"},
  };
  for (const Case& c : cases) {
    TempDir tmp;
    copy_dir(fixture("ok"), tmp.path());
    const fs::path binary = tmp.path() / c.binary, text = tmp.path() / c.text;
    spit(binary, slurp(binary) + std::string("\0x,\r\ny\r\n", 7));
    spit(text, replaced(slurp(text), c.old, c.now));
    RunResult r = run_tool({"check", tmp.path().string()});
    EXPECT_EQ(count_of(r.err, "not a text file"), 1u) << r.err;
    EXPECT_EQ(count_of(r.err, text.string() + ":" + c.place + ": "), 1u) << r.err;
    EXPECT_EQ(count_of(r.err, binary.string() + ":"), 1u) << "only the not-text message: " << r.err;
    EXPECT_EQ(lines_of(r.err).back(), "2 errors, 0 warnings");
  }
}

// Names are 8-bit text: "Forlì" written one byte per letter is shown as such
// and draws no warning; written in UTF-8 it draws one that says what the
// simulator will show.
TEST(Latin1Text, OneBytePerLetterShowsRightWithoutWarning) {
  TempDir tmp;
  prepare(tmp.path(), "Prova_T1-.txt", "PRIMA", "Forl\xEC", "code_22");
  RunResult text = run_tool({"compile", tmp.path().string()});
  RunResult json = run_tool({"compile", "--diagnostics=json", tmp.path().string()});
  EXPECT_NE(text.err.find("the zone of Forl\xC3\xAC ends"), std::string::npos) << text.err;
  EXPECT_NE(json.out.find("the zone of Forl\xC3\xAC ends"), std::string::npos) << json.out;
  EXPECT_EQ(count_of(text.err, "warning:"), 0u) << text.err;
}

TEST(Latin1Text, Utf8NameGetsTheWarning) {
  TempDir tmp;
  prepare(tmp.path(), "Prova_T1-.txt", "SECONDA", "Forl\xC3\xAC");
  RunResult r = run_tool({"compile", tmp.path().string()});
  EXPECT_EQ(r.status, 0) << "a warning, the files are written";
  EXPECT_EQ(first_line(r.err), (tmp.path() / "Prova_T1-.txt").string() +
                                   ":13:77: warning: 'Forl\xC3\xAC' is UTF-8 and will show as 'Forl\xC3\x83\xC2\xAC'; "
                                   "save the file as Latin-1 (ISO 8859-1), one byte per character [-Wutf8-text]");
  RunResult json = run_tool({"compile", "--diagnostics=json", tmp.path().string()});
  EXPECT_NE(json.out.find("\"code\":\"utf8-text\""), std::string::npos) << json.out;
}

}  // namespace
}  // namespace scenario::tool
