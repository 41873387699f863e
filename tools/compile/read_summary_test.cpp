// Tests of the summary line of `check`: records counted by kind in the order first read, and the lines not read.
#include "compile/read_summary.h"

#include <gtest/gtest.h>

#include <vector>

namespace scenario::tool {
namespace {

struct Read {
  SourceId source;
  RecordKind kind;
  std::size_t start, end;  // the record's keyword field
};

struct SummaryCase {
  const char* name;
  std::string line, train;
  std::vector<Read> records;
  std::string expected;
};

std::ostream& operator<<(std::ostream& os, const SummaryCase& c) { return os << c.name; }

class ReadSummary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(ReadSummary, CountsAndLinesNotRead) {
  const SummaryCase& c = GetParam();
  CompileResult result;
  result.account.emplace();
  for (const Read& r : c.records) {
    conta_chiave(*result.account, r.source, KeywordUse::Record, r.start, r.end);
    conta_record(*result.account, r.kind);
  }
  SourceTexts texts;
  texts.line = c.line;
  texts.train = c.train;
  EXPECT_EQ(read_summary(result, texts), c.expected);
}

using K = RecordKind;
constexpr SourceId L = SourceId::Line, T = SourceId::Train;
const SummaryCase kCases[] = {
    {"nothing_read", "", "", {}, "read 0 records; every line is accounted for"},
    {"one_record_one_line_left", "", "sabbia\nresto\n", {{T, K::Sand, 0, 6}}, "read 1 record: 1 sand; 1 line not read"},
    // Chainage changes of any kind count as one; kinds in the order first read.
    {"kinds_in_order_read", "uno\ndue\ntre\n", "stazione\nstazione\n",
     {{L, K::ChainageOne, 0, 3}, {T, K::Station, 0, 8}, {L, K::ChainageTwo, 4, 7}, {T, K::Station, 9, 17}},
     "read 4 records: 2 chainage changes, 2 stations; 1 line not read"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadSummary, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario::tool
