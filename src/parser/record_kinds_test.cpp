// The record table: which keyword fields start which records, margins, fields.
#include "parser/record_kinds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

// The kinds a keyword field starts, in the order the pass would read them.
std::vector<RecordKind> started(Section section, std::string_view keyword, bool line_plan = true) {
  std::vector<RecordKind> out;
  for (const RecordLayout& layout : record_layouts(section)) {
    if (starts_record(layout, keyword, line_plan)) out.push_back(layout.kind);
  }
  return out;
}

struct KeywordCase {
  const char* name;
  Section section;
  const char* keyword;
  std::vector<RecordKind> want;
};

void PrintTo(const KeywordCase& c, std::ostream* os) { *os << c.name; }

class KeywordMatching : public testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordMatching, StartsTheseRecordsInThisOrder) {
  const KeywordCase& c = GetParam();
  EXPECT_EQ(started(c.section, c.keyword), c.want) << "'" << c.keyword << "'";
}

using K = RecordKind;
using S = Section;

INSTANTIATE_TEST_SUITE_P(
    Table, KeywordMatching,
    testing::Values(
        // General section: only the route length ignores case.
        KeywordCase{"RouteLength", S::LineGeneral, "lunghezza percorso", {K::RouteLength}},
        KeywordCase{"RouteLengthAnyCase", S::LineGeneral, "PERCORSO Lunghezza", {K::RouteLength}},
        KeywordCase{"RouteLengthNeedsBothWords", S::LineGeneral, "lunghezza", {}},
        KeywordCase{"ChainageThree", S::LineGeneral, "progressiva chilometrica tre", {K::ChainageThree}},
        KeywordCase{"ChainageTwo", S::LineGeneral, "progressiva chilometrica due", {K::ChainageTwo}},
        KeywordCase{"ChainageOne", S::LineGeneral, "progressiva chilometrica uno", {K::ChainageOne}},
        KeywordCase{"ChainageKeepsCase", S::LineGeneral, "PROGRESSIVA chilometrica due", {}},
        KeywordCase{"ChainageWordKeepsCase", S::LineGeneral, "progressiva DUE", {}},
        KeywordCase{"BackgroundOne", S::LineGeneral, "sfondo uno", {K::BackgroundOne}},
        KeywordCase{"BackgroundTwo", S::LineGeneral, "sfondo due", {K::BackgroundTwo}},
        KeywordCase{"BackgroundThree", S::LineGeneral, "sfondo tre", {K::BackgroundThree}},
        KeywordCase{"BackgroundKeepsCase", S::LineGeneral, "Sfondo uno", {}},
        KeywordCase{"Repetition", S::LineGeneral, "ripetizione segnali 4 codici", {K::SignalRepetition}},
        KeywordCase{"RepetitionKeepsCase", S::LineGeneral, "ripetizione SEGNALI", {}},
        // One field, several records, in table order.
        KeywordCase{"TwoChainagesAndABackground", S::LineGeneral, "progressiva uno tre sfondo",
                    {K::ChainageThree, K::ChainageOne, K::BackgroundOne, K::BackgroundThree}},
        KeywordCase{"BodyKeywordInGeneral", S::LineGeneral, "pendenza", {}},
        // Body: every test ignores case.
        KeywordCase{"Gradient", S::LineBody, "PenDenza", {K::Gradient}},
        KeywordCase{"Curve", S::LineBody, "curvas4", {K::Curve}},
        KeywordCase{"Montagna", S::LineBody, "MONTAGNA", {K::Montagna}},
        KeywordCase{"Boards", S::LineBody, "indicatori_vmax", {K::SpeedBoards}},
        KeywordCase{"BoardsNeedTheUnderscore", S::LineBody, "indicatori vmax", {}},
        KeywordCase{"Sign", S::LineBody, "cartello_indicatore", {K::Sign}},
        KeywordCase{"SignNeedsBothWords", S::LineBody, "cartello", {}},
        KeywordCase{"BoardsAndSign", S::LineBody, "Indicatori_v cartello", {K::SpeedBoards, K::Sign}},
        KeywordCase{"Header", S::LineBody, "[curve]", {}},
        // Train: every test ignores case.
        KeywordCase{"Mass", S::Train, "percentuale massa frenata", {K::Mass}},
        KeywordCase{"MassNeedsBothWords", S::Train, "massa", {}},
        KeywordCase{"Cars", S::Train, "numero VETTURE", {K::Cars}},
        KeywordCase{"Speed", S::Train, "Velocita", {K::SpeedProfile}},
        KeywordCase{"SpeedHeader", S::Train, "[vel_limite]", {}},
        KeywordCase{"Adhesion", S::Train, "aderenza", {K::Adhesion}},
        KeywordCase{"Clock", S::Train, "orologio", {K::Clock}},
        KeywordCase{"Sand", S::Train, "sabbia", {K::Sand}},
        KeywordCase{"Signal", S::Train, "segnale", {K::Signal}},
        KeywordCase{"SignalsHeader", S::Train, "[segnali]", {}},
        KeywordCase{"SlowOrder", S::Train, "rallentamento", {K::SlowOrder}},
        KeywordCase{"Reduction", S::Train, "abbattimento", {K::Reduction}},
        KeywordCase{"Station", S::Train, "Stazione", {K::Station}},
        KeywordCase{"StationsHeader", S::Train, "[stazioni]", {}},
        KeywordCase{"SpeedThenStation", S::Train, "stazione velocita", {K::SpeedProfile, K::Station}}),
    [](const testing::TestParamInfo<KeywordCase>& i) { return std::string(i.param.name); });

TEST(RecordTable, CurvesStartNothingWithoutTheTrackPlan) {
  EXPECT_EQ(started(Section::LineBody, "curvas4", false), std::vector<RecordKind>{});
  EXPECT_EQ(started(Section::LineBody, "pendenza curva", false), std::vector<RecordKind>{K::Gradient});
}

TEST(RecordTable, MarginsPastTheTrainCells) {
  for (const RecordLayout& layout : record_layouts(Section::LineGeneral)) {
    EXPECT_FALSE(layout.margin.has_value()) << layout.name;
  }
  for (const RecordLayout& layout : record_layouts(Section::LineBody)) EXPECT_EQ(layout.margin, 100) << layout.name;
  const K bounded[] = {K::SpeedProfile, K::Adhesion, K::Signal, K::SlowOrder, K::Reduction};
  for (K k : bounded) EXPECT_EQ(margin_of(k), 100) << record_layout(k).name;
  EXPECT_EQ(margin_of(K::Station), 800);
  for (K k : {K::Mass, K::Cars, K::Clock, K::Sand}) EXPECT_FALSE(record_layout(k).margin.has_value());
}

TEST(RecordTable, EveryKindHasItsLayoutAndSource) {
  std::size_t line = 0, train = 0;
  for (const RecordLayout& layout : record_layouts(SourceId::Line)) {
    EXPECT_EQ(&record_layout(layout.kind), &layout);
    EXPECT_EQ(layout.source, SourceId::Line) << layout.name;
    ++line;
  }
  for (const RecordLayout& layout : record_layouts(SourceId::Train)) {
    EXPECT_EQ(&record_layout(layout.kind), &layout);
    EXPECT_EQ(layout.source, SourceId::Train) << layout.name;
    ++train;
  }
  EXPECT_EQ(line, 13u);
  EXPECT_EQ(train, 10u);
  EXPECT_EQ(record_layout(K::None).kind, K::None);
  EXPECT_FALSE(starts_record(record_layout(K::None), "anything", true));
}

// The fields each record reads, by number, type and the words an author reads.
TEST(RecordTable, FieldsAsThePassesReadThem) {
  const RecordLayout& station = record_layout(K::Station);
  ASSERT_EQ(station.fields.size(), 17u);
  EXPECT_EQ(station.fields[2].meaning, "the station's length");
  EXPECT_EQ(station.fields[1].type, FieldType::Byte);
  EXPECT_EQ(station.fields[6].type, FieldType::Int16);
  EXPECT_EQ(station.fields[16].type, FieldType::Text);
  EXPECT_EQ(record_layout(K::Signal).fields.size(), 11u);
  EXPECT_EQ(record_layout(K::SlowOrder).fields.size(), 6u);
  EXPECT_EQ(record_layout(K::SlowOrder).fields[0].meaning, "the slow order's start");
  EXPECT_EQ(record_layout(K::SpeedBoards).fields.size(), 9u);
  EXPECT_EQ(record_layout(K::Gradient).fields.size(), 2u);
  EXPECT_EQ(record_layout(K::Sign).fields[1].type, FieldType::Text);
  for (K k : {K::ChainageOne, K::ChainageTwo, K::ChainageThree, K::Montagna}) {
    EXPECT_EQ(record_layout(k).fields.size(), 3u);
  }
  for (K k : {K::Clock, K::Sand}) {
    for (const FieldLayout& f : record_layout(k).fields) EXPECT_EQ(f.type, FieldType::Int16) << f.meaning;
  }
}

}  // namespace
}  // namespace scenario
