// Tests of the warning options: each sequence of -W options and the level it gives a warning.
#include "common/warning_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

struct LevelCase {
  const char* name;
  std::vector<std::string> options;
  WarningLevel plain;     // past-end: a warning by default
  WarningLevel lost;      // other-source: an error by default
};

std::ostream& operator<<(std::ostream& os, const LevelCase& c) { return os << c.name; }

class WarningOptions : public ::testing::TestWithParam<LevelCase> {};

TEST_P(WarningOptions, LevelOfEachName) {
  const LevelCase& c = GetParam();
  WarningSettings settings;
  for (const std::string& option : c.options) ASSERT_EQ(take_warning_option(option, settings), std::nullopt) << option;
  EXPECT_EQ(settings.level_of("past-end"), c.plain);
  EXPECT_EQ(settings.level_of("other-source"), c.lost);
}

using L = WarningLevel;
const LevelCase kLevels[] = {
    {"Defaults", {}, L::Warning, L::Error},
    {"WallChangesNothing", {"-Wall"}, L::Warning, L::Error},
    {"WerrorRaisesAll", {"-Werror"}, L::Error, L::Error},
    {"WnoErrorKeepsOneAWarning", {"-Werror", "-Wno-error=past-end"}, L::Warning, L::Error},
    {"WnoErrorLowersAnErrorByDefault", {"-Wno-error=other-source"}, L::Warning, L::Warning},
    {"WnameLowersAnErrorByDefault", {"-Wother-source"}, L::Warning, L::Warning},
    {"WerrorBeatsTheLowering", {"-Werror", "-Wother-source"}, L::Error, L::Error},
    {"WnoSwitchesOff", {"-Wno-past-end", "-Wno-other-source"}, L::Off, L::Off},
    // -Werror raises the warnings left on; one switched off stays off, in either order.
    {"WerrorKeepsOffOff", {"-Werror", "-Wno-past-end"}, L::Off, L::Error},
    {"WnoThenWerror", {"-Wno-past-end", "-Werror"}, L::Off, L::Error},
    {"LastOfOneNameWins", {"-Wno-past-end", "-Wpast-end"}, L::Warning, L::Error},
    {"WerrorNameShowsAnOffWarning", {"-Wno-past-end", "-Werror=past-end"}, L::Error, L::Error},
    {"WnoAfterWerrorName", {"-Werror=past-end", "-Wno-past-end"}, L::Off, L::Error},
    {"LowerWSilencesWarningsOnly", {"-w"}, L::Off, L::Error},
    {"LowerWBeatsWerror", {"-Werror", "-w"}, L::Off, L::Error},
    {"NamedWinsOverLowerW", {"-w", "-Wpast-end"}, L::Warning, L::Error},
    {"WerrorNameWinsOverLowerW", {"-w", "-Werror=past-end"}, L::Error, L::Error},
};

INSTANTIATE_TEST_SUITE_P(Options, WarningOptions, ::testing::ValuesIn(kLevels),
                         [](const auto& info) { return std::string(info.param.name); });

// On the command line: a steep gradient under --werror is an error, and no
// message at all when switched off, whatever the order of the two options.
TEST(WarningOptionsOnTheCommandLine, WerrorWithAWarningSwitchedOff) {
  using namespace testing;
  TempDir tmp;
  copy_dir(fixture("ok"), tmp.path());
  const fs::path line = tmp.path() / "Prova_linea.txt";
  spit(line, replaced(slurp(line), "pendenza,  6000,   -5", "pendenza,  6000,   -75"));

  RunResult error = run_tool({"check", "--werror", tmp.path().string()});
  EXPECT_EQ(error.status, 1);
  EXPECT_EQ(lines_of(error.err).back(), "1 error, 0 warnings");
  for (const std::vector<std::string>& options : {std::vector<std::string>{"--werror", "-Wno-steep-gradient"},
                                                  std::vector<std::string>{"-Wno-steep-gradient", "--werror"}}) {
    std::vector<std::string> args = {"check"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(tmp.path().string());
    RunResult off = run_tool(args);
    EXPECT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(lines_of(off.err).back(), "0 errors, 0 warnings");
  }
}

TEST(WarningOptionErrors, UnknownNameWithTheHintLast) {
  WarningSettings settings;
  EXPECT_EQ(take_warning_option("-Wno-error=past-ned", settings),
            "unknown warning 'past-ned' in '-Wno-error=past-ned'; 'scenario_tool help warnings' lists them; did you "
            "mean 'past-end'?");
  EXPECT_EQ(take_warning_option("-Wbogus", settings),
            "unknown warning 'bogus' in '-Wbogus'; 'scenario_tool help warnings' lists them");
}

}  // namespace
}  // namespace scenario::tool
