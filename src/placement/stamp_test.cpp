// The check codes of the scenario's names and the stamp guard.
#include "placement/stamp.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace scenario {
namespace {

CompileState named(const std::string& train, const std::string& route) {
  CompileState s;
  s.scenario.ScenarioTable[kTrainRow].Name = train;
  s.scenario.ScenarioTable[kStampRow].Name = route;
  return s;
}

struct CodeCase {
  const char* train;
  const char* route;
  std::int16_t og;
  std::int32_t st;
};

TEST(CheckCodes, SumsOverTheFirst25CharactersOfTheNamesAndPadding) {
  const CodeCase cases[] = {
      {"", "", 2583, 34355},                       // padding without its last letter
      {"AB", "c", 2546, 33756},                    // "abc" and 22 letters of padding
      {"ab", "C", 2546, 33756},                    // case does not count
      {"AZ", "c", 2570, 33804},                    // 'Z', the last capital, lowered to 'z'
      {"az", "C", 2570, 33804},
      {"@[", "c", 2506, 33709},                    // the bytes beside 'A' and 'Z' stay as they are
      {"R31708", "Castrovelde_Ardis", 2373, 32935},
      {"r31708", "CASTROVELDE_ARDIS", 2373, 32935},
      {"\xe9", "", 2705, 34285},                   // byte 233, not a negative char
      {"\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", "",
       6375, 82875},                               // the largest possible codes
  };
  for (const auto& c : cases) {
    CompileState s = named(c.train, c.route);
    EXPECT_EQ(codice_gara_og(s), c.og) << c.train << " / " << c.route;
    EXPECT_EQ(codice_gara_st(s), c.st) << c.train << " / " << c.route;
  }
}

TEST(CheckCodes, CharactersAfterThe25thDoNotCount) {
  const std::pair<const char*, const char*> same_first_25[] = {
      {"R31708", "Castrovelde_Ardis_long_suffix"},
      {"R31708Castrovelde_Ar", "dis_lo"},
      {"", "r31708castrovelde_ardis_lz"},
  };
  CompileState ref = named("R31708", "Castrovelde_Ardis_lo");
  for (const auto& [train, route] : same_first_25) {
    CompileState s = named(train, route);
    EXPECT_EQ(codice_gara_og(s), codice_gara_og(ref)) << train << " / " << route;
    EXPECT_EQ(codice_gara_st(s), codice_gara_st(ref)) << train << " / " << route;
  }
  // The 25th character does count.
  EXPECT_NE(codice_gara_st(named("R31708", "Castrovelde_Ardis_x")), codice_gara_st(ref));
}

TEST(CheckCodes, TrainCodeComesFirst) {
  EXPECT_EQ(codice_gara_og(named("ab", "c")), codice_gara_og(named("c", "ab")));
  EXPECT_NE(codice_gara_st(named("ab", "c")), codice_gara_st(named("c", "ab")));
}

class Timbra : public testing::Test {
 protected:
  void SetUp() override {
    s = named("AB", "c");
    crea_celle(s, 96000);
  }
  CompileState s;
};

TEST_F(Timbra, StampsMarksAndCodes) {
  EXPECT_EQ(timbra(s), std::nullopt);
  EXPECT_EQ(s.scenario.ScenarioTable[kStampRow].Word1, 610);
  EXPECT_EQ(s.scenario.ScenarioTable[kStampRow].Time, 33756);
  EXPECT_EQ(cella(s, 1).Word1, 5121);
  EXPECT_EQ(cella(s, 1).Word2, 2546);
  EXPECT_EQ(cella(s, 0), TrainCell{});
  EXPECT_EQ(cella(s, 2), TrainCell{});
}

struct GuardCase {
  const char* name;
  std::int16_t row_word1;
  std::int32_t row_time;
  std::int16_t cell_word1;
  std::int16_t cell_word2;
  Status want;
  bool marks_set;
};

TEST_F(Timbra, GuardRefusesPlacesAlreadyTaken) {
  const GuardCase cases[] = {
      {"row 85 Word1", 1, 0, 0, 0, Status::GuardWord1, false},
      {"cell 1 Word1", 0, 0, 7, 0, Status::GuardWord1, false},
      {"both marks and codes", 1, 1, 7, 5, Status::GuardWord1, false},
      {"row 85 Time", 0, 1, 0, 0, Status::GuardWord2, true},
      {"cell 1 Word2", 0, 0, 0, 5, Status::GuardWord2, true},
  };
  for (const auto& c : cases) {
    CompileState t = s;
    ScenarioRecord& row = t.scenario.ScenarioTable[kStampRow];
    row.Word1 = c.row_word1;
    row.Time = c.row_time;
    cella(t, 1).Word1 = c.cell_word1;
    cella(t, 1).Word2 = c.cell_word2;
    EXPECT_EQ(timbra(t), std::optional<Status>(c.want)) << c.name;
    EXPECT_EQ(row.Word1, c.marks_set ? 610 : c.row_word1) << c.name;
    EXPECT_EQ(cella(t, 1).Word1, c.marks_set ? 5121 : c.cell_word1) << c.name;
    EXPECT_EQ(row.Time, c.row_time) << c.name;
    EXPECT_EQ(cella(t, 1).Word2, c.cell_word2) << c.name;
  }
}

TEST(TimbraNoCells, FailsWhenTheArrayWasNeverCreated) {
  CompileState s;
  EXPECT_THROW(timbra(s), Failure);
  EXPECT_EQ(s.scenario.ScenarioTable[kStampRow].Word1, 0);
}

}  // namespace
}  // namespace scenario
