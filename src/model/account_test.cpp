// Tests of the account's recording: merged runs of fields, owners and what each record became.
#include "model/account.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

// Two records of a pass: the first writes cells 3..5 of the speed layer, the
// second takes cells 5..6; a third writes nothing.
Account two_writers() {
  Account a;
  conta_celle_create(a, 10);
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 0, 8);
  conta_record(a, RecordKind::SpeedProfile);
  conta_campo(a, 10, 13, 500);
  for (int c = 3; c <= 5; ++c) conta_cella(a, c, CellLayer::Speed, a.writer);
  conta_fine_record(a);
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 20, 28);
  conta_record(a, RecordKind::SpeedProfile);
  for (int c = 5; c <= 6; ++c) conta_cella(a, c, CellLayer::Speed, a.writer);
  conta_fine_record(a);
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 40, 46);
  conta_record(a, RecordKind::Sand);
  conta_fine_record(a);
  return a;
}

TEST(Account, OwnersAndWhatEachRecordHolds) {
  Account a = two_writers();
  chiudi_conto(a);
  EXPECT_EQ(a.cell_owner(4, CellLayer::Speed), 0);
  EXPECT_EQ(a.cell_owner(5, CellLayer::Speed), 1);
  EXPECT_EQ(a.cell_owner(5, CellLayer::Gradient), owner::kNone);
  EXPECT_EQ(a.records[0].end, 13u);  // the keyword to the end of its last field
  ASSERT_EQ(a.writes_of(a.records[0]).size(), 1u);
  EXPECT_EQ(a.writes_of(a.records[0])[0].first, 3);
  EXPECT_EQ(a.writes_of(a.records[0])[0].last, 4);
  EXPECT_EQ(a.writes_of(a.records[1])[0].first, 5);
  EXPECT_EQ(a.writes_of(a.records[1])[0].last, 6);
  EXPECT_EQ(a.records[0].fate, RecordFate::Used);
  EXPECT_EQ(a.records[0].overwritten_by, 1);
  EXPECT_EQ(a.records[2].fate, RecordFate::NoEffect);
}

TEST(Account, FatesOfOverwrittenRefusedAndUnfinishedRecords) {
  Account a = two_writers();
  // The second record now takes every cell of the first.
  a.writer = 1;
  for (int c = 3; c <= 4; ++c) conta_cella(a, c, CellLayer::Speed, a.writer);
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 50, 58);
  conta_record(a, RecordKind::Signal);
  conta_rifiuto(a, 7);
  conta_rifiuto(a, 9);  // a second rule broken at the same record: the first one stays its diagnostic
  conta_fine_record(a);
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 60, 66);
  conta_record(a, RecordKind::Station);  // the text ends inside it
  chiudi_conto(a);
  EXPECT_EQ(a.records[0].fate, RecordFate::Overwritten);
  EXPECT_EQ(a.records[0].overwritten_by, 1);
  EXPECT_EQ(a.records[3].fate, RecordFate::Refused);
  EXPECT_EQ(a.records[3].diagnostic, 7);
  EXPECT_EQ(a.records[4].fate, RecordFate::Unfinished);
}

TEST(Account, EmptyAndPreambleFieldsMergeIntoOneEntry) {
  Account a;
  for (std::uint32_t i = 0; i < 1000; ++i) conta_chiave(a, SourceId::Line, KeywordUse::Preamble, 2 * i, 2 * i + 1);
  conta_chiave(a, SourceId::Line, KeywordUse::Header, 2000, 2010);
  for (std::uint32_t i = 0; i < 1000; ++i) conta_chiave(a, SourceId::Line, KeywordUse::Empty, 2011 + i, 2011 + i);
  conta_chiave(a, SourceId::Line, KeywordUse::Unmatched, 3100, 3102);
  conta_chiave(a, SourceId::Line, KeywordUse::Unmatched, 3103, 3105);
  // The other source's run is its own, even where its offsets follow on.
  conta_chiave(a, SourceId::Line, KeywordUse::Empty, 3106, 3106);
  conta_chiave(a, SourceId::Train, KeywordUse::Empty, 3107, 3107);
  ASSERT_EQ(a.keywords.size(), 7u);
  EXPECT_EQ(a.keywords[6].source, SourceId::Train);
  EXPECT_EQ(a.keywords[0].start, 0u);
  EXPECT_EQ(a.keywords[0].end, 1999u);
  EXPECT_EQ(a.keywords[2].end, 3010u);
  EXPECT_EQ(a.keywords[3].use, KeywordUse::Unmatched);  // each unmatched field is told on its own
}

TEST(Account, APlanPointDrawnAgainBelongsToTheLaterRun) {
  Account a;
  conta_chiave(a, SourceId::Line, KeywordUse::Record, 0, 5);
  conta_record(a, RecordKind::Curve);
  for (int m = 2; m <= 10; ++m) conta_punto(a, m, a.writer);
  conta_fine_record(a);
  conta_chiave(a, SourceId::Line, KeywordUse::Record, 10, 15);
  conta_record(a, RecordKind::Curve);
  for (int m = 8; m <= 12; ++m) conta_punto(a, m, a.writer);
  conta_fine_record(a);
  chiudi_conto(a);
  ASSERT_EQ(a.plan.size(), 2u);
  EXPECT_EQ(a.plan_owner(7), 0);
  EXPECT_EQ(a.plan_owner(8), 1);
  EXPECT_EQ(a.plan_owner(13), owner::kNone);
  EXPECT_EQ(a.writes_of(a.records[0])[0].last, 7);
  EXPECT_EQ(a.records[0].overwritten_by, 1);
}

TEST(Account, LinesNotRead) {
  const std::string text = "[generale]\r\nsabbia, 3\r\n\r\n  \r\nstazione, 5,\r\n  6\r\nresto\r\nancora";
  Account a;
  conta_chiave(a, SourceId::Train, KeywordUse::Header, 0, 10);
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 12, 18);
  conta_record(a, RecordKind::Sand);
  conta_campo(a, 20, 21, 3);
  // A record whose fields run on to the next line covers both lines.
  conta_chiave(a, SourceId::Train, KeywordUse::Record, 29, 37);
  conta_record(a, RecordKind::Station);
  conta_campo(a, 39, 40, 5);
  conta_campo(a, 45, 46, 6);
  EXPECT_EQ(righe_non_lette(a, SourceId::Train, text), 2u);  // "resto" and "ancora"; blank lines do not count
  EXPECT_EQ(righe_non_lette(a, SourceId::Line, text), 8u - 2u);
}

// The same source in each of the three line ends: a record on the second
// line, and the third line left unread.
struct LineEnds {
  const char* name;
  const char* end;
};

std::ostream& operator<<(std::ostream& os, const LineEnds& c) { return os << c.name; }

class LinesNotReadWith : public ::testing::TestWithParam<LineEnds> {};

TEST_P(LinesNotReadWith, EachLineEnd) {
  const std::string nl = GetParam().end;
  const std::string text = "[generale]" + nl + "sabbia, 3" + nl + "resto" + nl + "ancora";
  Account a;
  conta_chiave(a, SourceId::Train, KeywordUse::Header, 0, 10);
  const std::size_t sand = text.find("sabbia");
  conta_chiave(a, SourceId::Train, KeywordUse::Record, sand, sand + 6);
  conta_record(a, RecordKind::Sand);
  conta_campo(a, sand + 8, sand + 9, 3);
  EXPECT_EQ(righe_non_lette(a, SourceId::Train, text), 2u);  // "resto" and "ancora"
}

INSTANTIATE_TEST_SUITE_P(Ends, LinesNotReadWith,
                         ::testing::Values(LineEnds{"LF", "\n"}, LineEnds{"CRLF", "\r\n"}, LineEnds{"CR", "\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Account, LinesNotReadTakeSpansAsHalfOpenAndInAnyOrder) {
  const std::string text = "uno\ndue\ntre\nquattro\n";
  Account a;
  // A span that ends where the next line starts does not reach that line.
  conta_chiave(a, SourceId::Line, KeywordUse::Record, 0, 4);
  EXPECT_EQ(righe_non_lette(a, SourceId::Line, text), 3u);
  // Spans given after one further down are still found from the top.
  conta_chiave(a, SourceId::Line, KeywordUse::Record, 12, 19);  // "quattro"
  conta_chiave(a, SourceId::Line, KeywordUse::Record, 4, 7);    // "due"
  EXPECT_EQ(righe_non_lette(a, SourceId::Line, text), 1u);      // "tre"
}

TEST(Account, TextOfASpanIsClampedToTheText) {
  const std::string_view text = "abcdef";
  EXPECT_EQ(testo_di(text, 1, 3), "bc");
  EXPECT_EQ(testo_di(text, 4, 20), "ef");
  EXPECT_EQ(testo_di(text, 4, 2), "");  // an end before the start is an empty span
  EXPECT_EQ(testo_di(text, 9, 12), "");
}

}  // namespace
}  // namespace scenario
