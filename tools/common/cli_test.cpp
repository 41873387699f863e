// Tests of the command line: options of each command, usage errors with hints, help.
#include "common/cli.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;

struct UsageCase {
  std::vector<std::string> args;
  const char* error;  // exact, after "scenario_tool: error: "
};

TEST(CommandLine, UsageErrorsExitTwoWithAHint) {
  const UsageCase cases[] = {
      {{}, "no command given; run 'scenario_tool --help' for the commands"},
      {{"compil", "x"}, "unknown command 'compil'; did you mean 'compile'?"},
      {{"frobnicate"}, "unknown command 'frobnicate'; run 'scenario_tool --help' for the commands"},
      {{"--hlep"}, "unknown option '--hlep'; did you mean '--help'?"},
      {{"compile", "--forse", "x"},
       "unknown option '--forse' (did you mean '--force'?); run 'scenario_tool compile --help' for the options"},
      {{"compile", "--diagnostics=xml", "x"}, "--diagnostics takes 'text', 'json' or 'sarif', not 'xml'"},
      {{"compile", "--color", "sometimes", "x"}, "--color takes 'auto', 'always' or 'never', not 'sometimes'"},
      {{"compile", "--route"}, "option '--route' needs a value (NAME); run 'scenario_tool compile --help' for the options"},
      {{"compile", "--force=yes", "x"},
       "option '--force' takes no value; run 'scenario_tool compile --help' for the options"},
      {{"compile", "a", "b"}, "expected one SOURCEDIR or FILE, got 2 ('b' is one too many)"},
      {{"dump", "--every", "0", "f.dat"}, "--every takes a whole number of metres above 0, not '0'"},
      {{"dump", "--every", "12x", "f.dat"}, "--every takes a whole number of metres above 0, not '12x'"},
      {{"dump", "--jsn", "f.dat"},
       "unknown option '--jsn' (did you mean '--json'?); run 'scenario_tool dump --help' for the options"},
      {{"dump"}, "missing FILE"},
      {{"compile", "-fx", "x"}, "unknown option '-fx'; run 'scenario_tool compile --help' for the options"},
      {{"plot", "-x", "dir"}, "unknown option '-x'; run 'scenario_tool plot --help' for the options"},
      {{"help", "complie"}, "unknown command 'complie'; did you mean 'compile'?"},
      {{"help", "compile", "dump"}, "'help' takes at most one command, got 2"},
      {{"--verison"}, "unknown option '--verison'; did you mean '--version'?"},
      {{"init", "a", "b"}, "expected one DIR, got 2 ('b' is one too many)"},
      {{"decompile", "--forse", "dir"},
       "unknown option '--forse' (did you mean '--force'?); run 'scenario_tool decompile --help' for the options"},
      {{"decompile", "-o"}, "option '--output' needs a value (OUTDIR); run 'scenario_tool decompile --help' for the options"},
      {{"decompile", "a", "b"}, "expected one DIR or FILE, got 2 ('b' is one too many)"},
      {{"decompile", "--diagnostics=xml", "a"}, "--diagnostics takes 'text', 'json' or 'sarif', not 'xml'"},
      {{"diff"}, "missing OLD and NEW"},
      {{"diff", "old"}, "missing NEW"},
      {{"diff", "a", "b", "c"}, "expected OLD and NEW, got 3 ('c' is one too many)"},
      {{"diff", "--rute", "R", "a", "b"},
       "unknown option '--rute' (did you mean '--route'?); run 'scenario_tool diff --help' for the options"},
      {{"diff", "--force", "a", "b"}, "unknown option '--force'; run 'scenario_tool diff --help' for the options"},
      {{"diff", "--color=sometimes", "a", "b"}, "--color takes 'auto', 'always' or 'never', not 'sometimes'"},
  };
  for (const UsageCase& c : cases) {
    RunResult r = run_tool(c.args);
    EXPECT_EQ(r.status, 2) << c.error;
    EXPECT_EQ(r.err, std::string("scenario_tool: error: ") + c.error + "\n");
    EXPECT_EQ(r.out, "");
  }
}

TEST(CommandLine, CompileOptionsInBothSpellings) {
  Invocation inv = parse_command_line({"compile", "--route", "R", "--train=T", "--no-line", "-o", "out",
                                       "--force", "--werror", "--diagnostics", "json", "src"});
  ASSERT_EQ(inv.error, "");
  EXPECT_EQ(inv.command, Command::Compile);
  EXPECT_EQ(inv.compile.route, "R");
  EXPECT_EQ(inv.compile.train, "T");
  EXPECT_TRUE(inv.compile.no_line && inv.compile.force && inv.compile.werror);
  EXPECT_EQ(inv.compile.format, DiagnosticsFormat::Json);
  EXPECT_EQ(inv.compile.out_dir.value_or(""), "out");
  EXPECT_EQ(inv.compile.source_dir, "src");

  Invocation plain = parse_command_line({"compile", "src"});
  EXPECT_FALSE(plain.compile.no_line || plain.compile.force || plain.compile.werror);
  EXPECT_EQ(plain.compile.format, DiagnosticsFormat::Text);
  EXPECT_FALSE(plain.compile.out_dir.has_value());
}

TEST(CommandLine, DumpAndPlotOptions) {
  Invocation d = parse_command_line({"dump", "--json", "--every=250", "--", "-odd.dat"});
  ASSERT_EQ(d.error, "");
  EXPECT_TRUE(d.dump.json);
  EXPECT_EQ(d.dump.every, 250);
  EXPECT_EQ(d.dump.file, "-odd.dat") << "after -- every argument is a name";

  Invocation p = parse_command_line({"plot", "-o", "x.svg", "dir"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.plot.output.value_or(""), "x.svg");
  EXPECT_EQ(p.plot.dir, "dir");
}

TEST(CommandLine, DecompileAndDiffOptions) {
  Invocation d = parse_command_line({"decompile", "--route", "R", "--train=T", "-oout", "--force",
                                     "--diagnostics=sarif", "files"});
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.command, Command::Decompile);
  EXPECT_EQ(d.decompile.route, "R");
  EXPECT_EQ(d.decompile.train, "T");
  EXPECT_EQ(d.decompile.out_dir.value_or(""), "out");
  EXPECT_TRUE(d.decompile.force);
  EXPECT_EQ(d.decompile.format, DiagnosticsFormat::Sarif);
  EXPECT_EQ(d.decompile.path, "files");
  Invocation plain = parse_command_line({"decompile"});
  ASSERT_EQ(plain.error, "");
  EXPECT_FALSE(plain.decompile.out_dir || plain.decompile.force);
  EXPECT_EQ(plain.decompile.path, ".");

  Invocation f = parse_command_line({"diff", "--diagnostics", "json", "--route=R", "before", "--", "-after"});
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(f.command, Command::Diff);
  EXPECT_EQ(f.diff.format, DiagnosticsFormat::Json);
  EXPECT_EQ(f.diff.route, "R");
  EXPECT_EQ(f.diff.before, "before");
  EXPECT_EQ(f.diff.after, "-after");
}

TEST(CommandLine, HelpForTheToolAndEachCommand) {
  struct Case {
    std::vector<std::string> args;
    const char* first_line;
  };
  const Case cases[] = {
      {{"--help"}, "usage: scenario_tool <command> [options] ARG"},
      {{"-h"}, "usage: scenario_tool <command> [options] ARG"},
      {{"compile", "--help"}, "usage: scenario_tool compile [options] [SOURCEDIR | FILE]"},
      {{"help", "compile"}, "usage: scenario_tool compile [options] [SOURCEDIR | FILE]"},
      {{"help", "verify"}, "usage: scenario_tool verify [options] [FILE... | DIR]"},
      {{"help", "help"}, "usage: scenario_tool help [COMMAND | warnings]"},
      {{"init", "--help"}, "usage: scenario_tool init [options] [DIR]"},
      {{"help", "check"}, "usage: scenario_tool check [options] [DIR | FILE]"},
      {{"help"}, "usage: scenario_tool <command> [options] ARG"},
      {{"dump", "-h", "ignored.dat"}, "usage: scenario_tool dump [options] FILE"},
      {{"plot", "--help"}, "usage: scenario_tool plot [options] [DIR | FILE]"},
      {{"decompile", "--help"}, "usage: scenario_tool decompile [options] [DIR | FILE]"},
      {{"help", "diff"}, "usage: scenario_tool diff [options] OLD NEW"},
  };
  for (const Case& c : cases) {
    RunResult r = run_tool(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(first_line(r.out), c.first_line);
    EXPECT_EQ(r.err, "");
  }
  const std::string compile_help = run_tool({"compile", "--help"}).out;
  for (const char* option : {"--route NAME", "--train CODE", "--no-line", "-o, --output OUTDIR", "--force",
                             "--werror", "--diagnostics=FORMAT", "--color=WHEN", "-v, --verbose",
                             "--max-diagnostics N", "-h, --help"}) {
    EXPECT_NE(compile_help.find(option), std::string::npos) << option;
  }
  const std::string decompile_help = run_tool({"decompile", "--help"}).out;
  for (const char* option : {"--route NAME", "--train CODE", "-o, --output OUTDIR", "--force", "--diagnostics=FORMAT",
                             "--color=WHEN", "-h, --help"}) {
    EXPECT_NE(decompile_help.find(option), std::string::npos) << option;
  }
}

// --version names the version, the build and the formats written.
TEST(CommandLine, VersionNamesBuildAndFormats) {
  RunResult v = run_tool({"--version"});
  EXPECT_EQ(v.status, 0);
  const std::vector<std::string> lines = lines_of(v.out);
  ASSERT_EQ(lines.size(), 4u) << v.out;
  EXPECT_EQ(lines[0], std::string("scenario_tool ") + kToolVersion);
  EXPECT_THAT(lines[1], MatchesRegex("build: [A-Za-z]+, (GCC|clang) [0-9].*"));
  EXPECT_THAT(v.out, HasSubstr("SARIF 2.1.0"));
  EXPECT_THAT(v.out, HasSubstr("<route>_linea.dat"));
}

// Every help names its own command's exit statuses: only check and compile
// speak of --werror.
TEST(CommandLine, ExitStatusesInEveryHelp) {
  for (const char* command : {"init", "check", "compile", "verify", "dump", "plot", "decompile", "diff", "help"}) {
    const std::string help = run_tool({"help", command}).out;
    const std::string name = command;
    if (name != "help") {
      EXPECT_EQ(help, run_tool({command, "--help"}).out) << command;
    }
    const std::string exit_text = help.substr(help.find("\nExit status: "));
    EXPECT_NE(exit_text.find("2 an"), std::string::npos) << command;
    EXPECT_EQ(exit_text.find("--werror") != std::string::npos, name == "check" || name == "compile") << command;
    EXPECT_NE(run_tool({"--help"}).out.find("  " + name + " "), std::string::npos) << command;
  }
}

TEST(CommandLine, EveryCommandDefaultsToTheCurrentFolder) {
  Invocation c = parse_command_line({"check", "--werror"});
  ASSERT_EQ(c.error, "");
  EXPECT_EQ(c.command, Command::Check);
  EXPECT_TRUE(c.compile.check_only && c.compile.werror);
  EXPECT_EQ(c.compile.source_dir, ".");
  Invocation i = parse_command_line({"init", "--route", "Linea_Nuova", "--train", "T9", "--force"});
  ASSERT_EQ(i.error, "");
  EXPECT_EQ(i.init.route, "Linea_Nuova");
  EXPECT_EQ(i.init.train, "T9");
  EXPECT_TRUE(i.init.force);
  EXPECT_EQ(i.init.dir, ".");
  Invocation v = parse_command_line({"verify", "a.sim", "b.dat"});
  ASSERT_EQ(v.error, "");
  EXPECT_EQ(v.verify.paths.size(), 2u);
  EXPECT_EQ(parse_command_line({"verify"}).verify.paths, std::vector<fs::path>{"."});
  EXPECT_EQ(parse_command_line({"plot"}).plot.dir, ".");
  EXPECT_EQ(parse_command_line({"compile", "-oout"}).compile.source_dir, ".");
}

// --color=auto colours only on a terminal without NO_COLOR; always and
// never decide alone.
TEST(CommandLine, ColourOnlyWhereAsked) {
  struct Case {
    const char* name;
    const char* option;  // "" for the default, auto
    Terminal terminal;
    bool coloured;
  };
  const Case cases[] = {
      {"auto_terminal", "", {true, false}, true},
      {"auto_terminal_no_color", "--color=auto", {true, true}, false},
      {"auto_pipe", "", {false, false}, false},
      {"always_pipe", "--color=always", {false, true}, true},
      {"never_terminal", "--color=never", {true, false}, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"check", "--forse"};
    if (*c.option) args.insert(args.begin() + 1, c.option);
    std::ostringstream out, err;
    EXPECT_EQ(tool_main(args, out, err, c.terminal), 2) << c.name;
    EXPECT_EQ(err.str().rfind(c.coloured ? "scenario_tool: \x1b[01;31merror:\x1b[m unknown option"
                                         : "scenario_tool: error: unknown option",
                              0),
              0u)
        << c.name << ": " << err.str();
  }
}

// The working directory changed for one scope: commands that default to the
// current folder are run where the sources are.
class InFolder {
 public:
  explicit InFolder(const fs::path& dir) : before_(fs::current_path()) { fs::current_path(dir); }
  ~InFolder() { fs::current_path(before_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path before_;
};

// What a case's folder holds before the command runs.
enum class Setup {
  Pair,             // valle/: the Valle_Nuova / R100 sources
  PairWarned,       // the same with a slow order at 40030 m: one rounded-position warning
  Compiled,         // the pair and its three binary files
  CompiledHere,     // the same in the current folder itself
  PairHere,         // the sources in the current folder
  TrainNoHyphen,    // the train source named Valle_Nuova_R100.txt
  LineCapital,      // the line source named Valle_Nuova_Linea.txt
};

struct HabitCase {
  const char* name;
  Setup setup;
  std::vector<std::string> args;
  int status;
  const char* out_first_line;  // exact, or up to a closing "..."
  const char* err_has;         // a part of stderr; "" for an empty stderr
  const char* file_made = "";  // a file that must exist afterwards
  const char* file_absent = "";
};

std::ostream& operator<<(std::ostream& os, const HabitCase& c) { return os << c.name; }

void prepare(Setup setup, const fs::path& root) {
  const bool here = setup == Setup::CompiledHere || setup == Setup::PairHere;
  const std::string dir = here ? "." : "valle";
  {
    InFolder in(root);
    ASSERT_EQ(run_tool({"init", "--route", "Valle_Nuova", "--train", "R100", dir}).status, 0);
  }
  const fs::path folder = here ? root : root / "valle";
  const fs::path train = folder / "Valle_Nuova_R100-.txt";
  if (setup == Setup::PairWarned) {
    spit(train, replaced(slurp(train), "[rallentamenti]\r\n",
                         "[rallentamenti]\r\nrallentamento,   40030,   30,   500,   0,   1,   0\r\n"));
  }
  if (setup == Setup::Compiled || setup == Setup::CompiledHere) {
    InFolder in(root);
    ASSERT_EQ(run_tool({"compile", dir}).status, 0);
  }
  if (setup == Setup::TrainNoHyphen) fs::rename(train, folder / "Valle_Nuova_R100.txt");
  if (setup == Setup::LineCapital) fs::rename(folder / "Valle_Nuova_linea.txt", folder / "Valle_Nuova_Linea.txt");
}

class AuthorHabits : public ::testing::TestWithParam<HabitCase> {};

// The habits authors bring from C compilers and GNU tools, each with its exit
// status and what it prints, run in a folder of their own.
TEST_P(AuthorHabits, ExitStatusAndOutput) {
  const HabitCase& c = GetParam();
  TempDir tmp;
  prepare(c.setup, tmp.path());
  InFolder in(tmp.path());
  const RunResult r = run_tool(c.args);
  EXPECT_EQ(r.status, c.status) << r.err;
  const std::string expected_out = c.out_first_line;
  if (expected_out.size() > 3 && expected_out.compare(expected_out.size() - 3, 3, "...") == 0) {
    EXPECT_EQ(first_line(r.out).rfind(expected_out.substr(0, expected_out.size() - 3), 0), 0u) << r.out;
  } else {
    EXPECT_EQ(first_line(r.out), expected_out) << r.out;
  }
  if (std::string(c.err_has).empty()) {
    EXPECT_EQ(r.err, "");
  } else {
    EXPECT_THAT(r.err, HasSubstr(c.err_has));
  }
  if (*c.file_made) {
    EXPECT_TRUE(fs::exists(c.file_made)) << c.file_made;
  }
  if (*c.file_absent) {
    EXPECT_FALSE(fs::exists(c.file_absent)) << c.file_absent;
  }
}

const char* const kChecked =
    "checked Valle_Nuova / R100: route 96000 m, 2061 cells, 18 stations, 23 signals, 16 signs; nothing written";

const HabitCase kHabits[] = {
    {"WerrorMakesWarningsErrors", Setup::PairWarned, {"check", "-Werror", "valle"}, 1, kChecked,
     "[-Werror=rounded-position]\n"},
    {"WallIsTheDefault", Setup::PairWarned, {"check", "-Wall", "valle"}, 0, kChecked,
     "warning: 40030 m"},
    {"ColourAlwaysMarksTheWarning", Setup::PairWarned, {"check", "--color=always", "valle"}, 0, kChecked,
     "\x1b[01;35mwarning:\x1b[m 40030 m"},
    {"LowerWSilencesAll", Setup::PairWarned, {"check", "-w", "valle"}, 0, kChecked,
     "0 errors, 0 warnings\n"},
    {"WnoErrorKeepsOneAWarning", Setup::PairWarned, {"check", "-Werror", "-Wno-error=rounded-position", "valle"}, 0,
     kChecked, "0 errors, 1 warning\n"},
    {"WnoNameWinsOverWerrorName", Setup::PairWarned,
     {"check", "-Werror=rounded-position", "-Wno-rounded-position", "valle"}, 0, kChecked,
     "0 errors, 0 warnings\n"},
    {"NamedWarningShownDespiteLowerW", Setup::PairWarned, {"check", "-w", "-Wrounded-position", "valle"}, 0,
     kChecked, "0 errors, 1 warning\n"},
    {"UnknownWarningHintLast", Setup::Pair, {"check", "-Wrounded-positon", "valle"}, 2, "",
     "scenario_tool: error: unknown warning 'rounded-positon' in '-Wrounded-positon'; 'scenario_tool help "
     "warnings' lists them; did you mean 'rounded-position'?\n"},
    {"AttachedOutputFolder", Setup::Pair, {"compile", "-oout", "valle"}, 0,
     "compiled Valle_Nuova / R100: route 96000 m, 2061 cells, 18 stations, 23 signals, 16 signs; wrote 3 files to out",
     "0 errors, 0 warnings\n", "out/Valle_Nuova_R100.sim"},
    {"CompileMakesItsOutputFolder", Setup::Pair, {"compile", "-o", "made/deep", "valle"}, 0,
     "compiled Valle_Nuova / R100: route 96000 m, 2061 cells, 18 stations, 23 signals, 16 signs; wrote 3 files to "
     "made/deep",
     "0 errors, 0 warnings\n", "made/deep/Valle_Nuova_linea.dat"},
    {"CompileInTheCurrentFolder", Setup::PairHere, {"compile"}, 0,
     "compiled Valle_Nuova / R100: route 96000 m, 2061 cells, 18 stations, 23 signals, 16 signs; wrote 3 files to .",
     "0 errors, 0 warnings\n", "Valle_Nuova_R100.dat"},
    {"VerifyInTheCurrentFolder", Setup::CompiledHere, {"verify"}, 0, "./Valle_Nuova_R100.sim: ok",
     "3 files verified, 0 mismatches\n"},
    {"PlotInTheCurrentFolder", Setup::CompiledHere, {"plot"}, 0, "wrote ./Valle_Nuova_R100.svg", "",
     "Valle_Nuova_R100.svg"},
    {"PlotToStandardOutput", Setup::Compiled, {"plot", "-o", "-", "valle"}, 0,
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "", "", "-"},
    {"DumpToAFile", Setup::Compiled, {"dump", "-od.txt", "valle/Valle_Nuova_R100.sim"}, 0, "", "", "d.txt"},
    {"HelpHelp", Setup::Pair, {"help", "help"}, 0, "usage: scenario_tool help [COMMAND | warnings]", ""},
    {"VersionWithBuildAndFormats", Setup::Pair, {"--version"}, 0, "scenario_tool 1.2.0", ""},
    {"SarifUsageError", Setup::Pair, {"plot", "--diagnostics=sarif", "a", "b"}, 2,
     "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\",...", ""},
    {"HintEndsTheSentence", Setup::Pair, {"plot", "--ouput", "x.svg"}, 2, "",
     "scenario_tool: error: unknown option '--ouput' (did you mean '--output'?); run 'scenario_tool plot --help' "
     "for the options\n"},
    {"UsageErrorAsJson", Setup::Pair, {"check", "--diagnostics=json", "--werorr"}, 2,
     "{\"file\":\"scenario_tool\",\"line\":0,\"column\":0,\"severity\":\"error\",\"code\":\"usage\","
     "\"message\":\"unknown option '--werorr' (did you mean '--werror'?); run 'scenario_tool check --help' for the "
     "options\"}",
     ""},
    {"IoErrorAsJson", Setup::Pair, {"verify", "--diagnostics", "json", "gone"}, 2,
     "{\"file\":\"scenario_tool\",\"line\":0,\"column\":0,\"severity\":\"error\",\"code\":\"io\","
     "\"message\":\"'gone' does not exist\"}",
     ""},
    {"PathsQuoted", Setup::Pair, {"compile", "no where"}, 2, "",
     "scenario_tool: error: the source directory or file 'no where' does not exist\n"},
    {"EmptyRouteRefused", Setup::Pair, {"init", "--route", "", "x"}, 2, "",
     "scenario_tool: error: --route is empty; give a route name or leave the option out\n", "", "x"},
    {"EscapeInNameShownEscaped", Setup::Pair, {"init", "--train", "R\x1b[2J", "x"}, 2, "",
     "scenario_tool: error: --train 'R\\x1b[2J' holds a character that a file name cannot carry\n", "", "x"},
    {"TrainWithoutHyphenNamed", Setup::TrainNoHyphen, {"check", "valle"}, 2, "",
     "scenario_tool: error: 'valle' holds no train source for route Valle_Nuova (Valle_Nuova_<train>-.txt); did "
     "you mean 'Valle_Nuova_R100.txt'? The compiler reads it only when it is named 'Valle_Nuova_R100-.txt'\n"},
    {"MissingTrainExitsTwoWithTheHint", Setup::TrainNoHyphen, {"check", "--train", "R100", "valle"}, 2,
     "checked Valle_Nuova / R100: route 96000 m, 2061 cells, 0 stations, 0 signals, 16 signs; nothing written",
     "valle/Valle_Nuova_R100-.txt: note: did you mean 'Valle_Nuova_R100.txt'?"},
    {"LineInAnotherCaseNamed", Setup::LineCapital, {"compile", "valle"}, 2, "",
     "scenario_tool: error: 'valle' holds no line source (<route>_linea.txt); did you mean "
     "'Valle_Nuova_Linea.txt'? The compiler reads it only when it is named 'Valle_Nuova_linea.txt'\n"},
    {"MissingLineExitsTwoWithTheHint", Setup::LineCapital, {"compile", "--route", "Valle_Nuova", "valle"}, 2, "",
     "valle/Valle_Nuova_linea.txt: note: did you mean 'Valle_Nuova_Linea.txt'?"},
};

INSTANTIATE_TEST_SUITE_P(CommandLine, AuthorHabits, ::testing::ValuesIn(kHabits),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scenario::tool
