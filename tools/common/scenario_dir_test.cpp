// Tests of choosing a scenario's .sim in a folder: by route, by train, by both, or the only one.
#include "common/scenario_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_test_support.h"
#include "platform/failure.h"

namespace scenario::tool {
namespace {

using namespace testing;

struct ChoiceCase {
  const char* name;
  std::vector<const char*> files;
  const char* route;
  const char* train;
  const char* chosen;  // the file chosen, or "" when the choice fails
  const char* error;   // after the folder's quoted name, when it fails
};

std::ostream& operator<<(std::ostream& os, const ChoiceCase& c) { return os << c.name; }

class SimChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(SimChoice, ChosenOrNamedAmbiguity) {
  const ChoiceCase& c = GetParam();
  TempDir tmp;
  for (const char* f : c.files) spit(tmp.path() / f, "");
  if (*c.chosen != '\0') {
    EXPECT_EQ(choose_sim_file(tmp.path(), c.route, c.train), tmp.path() / c.chosen);
    return;
  }
  try {
    choose_sim_file(tmp.path(), c.route, c.train);
    FAIL() << "chose a file";
  } catch (const Failure& f) {
    EXPECT_EQ(std::string(f.what()), "'" + tmp.path().string() + "'" + c.error);
  }
}

const ChoiceCase kChoices[] = {
    {"only_one", {"A_T1.sim", "A_T1.dat"}, "", "", "A_T1.sim", ""},
    {"two_unchosen", {"A_T1.sim", "B_T2.sim"}, "", "", "",
     " holds 2 .sim files (A_T1.sim, B_T2.sim); choose one with --route NAME and --train CODE"},
    {"by_route", {"A_T1.sim", "B_T2.sim"}, "B", "", "B_T2.sim", ""},
    {"by_train", {"A_T1.sim", "B_T2.sim"}, "", "T1", "A_T1.sim", ""},
    // One route, two trains: the route alone does not choose, route and train do.
    {"route_with_two_trains", {"A_T1.sim", "A_T2.sim"}, "A", "", "",
     " holds 2 .sim files (A_T1.sim, A_T2.sim); choose one with --route NAME and --train CODE"},
    {"route_and_train", {"A_T1.sim", "A_T2.sim", "A_T10.sim"}, "A", "T1", "A_T1.sim", ""},
    {"route_and_train_absent", {"A_T1.sim", "A_T2.sim"}, "A", "T3", "",
     " holds no .sim file for the route and train given; compile the sources first (scenario_tool compile)"},
    // "_T1.sim" names no route: it is not the train T1 of any route.
    {"train_without_a_route", {"_T1.sim", "A_T1.sim"}, "", "T1", "A_T1.sim", ""},
    {"train_is_a_whole_word", {"A_XT1.sim", "A_T1.sim"}, "", "T1", "A_T1.sim", ""},
    {"route_is_a_whole_word", {"AB_T1.sim", "A_T1.sim"}, "A", "", "A_T1.sim", ""},
};

INSTANTIATE_TEST_SUITE_P(Folders, SimChoice, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario::tool
