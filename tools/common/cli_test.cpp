// Tests of the command line: options of each command, usage errors with hints, help.
#include "common/cli.h"

#include <gtest/gtest.h>

#include "common/tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

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
       "unknown option '--forse'; did you mean '--force'?; run 'scenario_tool compile --help' for the options"},
      {{"compile", "--diagnostics=xml", "x"}, "--diagnostics takes 'text' or 'json', not 'xml'"},
      {{"compile", "--route"}, "option '--route' needs a value (NAME); run 'scenario_tool compile --help' for the options"},
      {{"compile", "--force=yes", "x"},
       "option '--force' takes no value; run 'scenario_tool compile --help' for the options"},
      {{"compile"}, "missing SOURCEDIR"},
      {{"compile", "a", "b"}, "expected one SOURCEDIR, got 2 ('b' is one too many)"},
      {{"dump", "--every", "0", "f.dat"}, "--every takes a whole number of metres above 0, not '0'"},
      {{"dump", "--every", "12x", "f.dat"}, "--every takes a whole number of metres above 0, not '12x'"},
      {{"dump", "--jsn", "f.dat"},
       "unknown option '--jsn'; did you mean '--json'?; run 'scenario_tool dump --help' for the options"},
      {{"plot", "-x", "dir"}, "unknown option '-x'; run 'scenario_tool plot --help' for the options"},
      {{"help", "complie"}, "unknown command 'complie'; did you mean 'compile'?"},
      {{"help", "compile", "dump"}, "'help' takes at most one command, got 2"},
      {{"--verison"}, "unknown option '--verison'; did you mean '--version'?"},
      {{"verify"}, "missing FILE or DIR"},
      {{"init", "a", "b"}, "expected one DIR, got 2 ('b' is one too many)"},
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
  EXPECT_TRUE(inv.compile.no_line && inv.compile.force && inv.compile.werror && inv.compile.json);
  EXPECT_EQ(inv.compile.out_dir.value_or(""), "out");
  EXPECT_EQ(inv.compile.source_dir, "src");

  Invocation plain = parse_command_line({"compile", "src"});
  EXPECT_FALSE(plain.compile.no_line || plain.compile.force || plain.compile.werror || plain.compile.json);
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

TEST(CommandLine, HelpForTheToolAndEachCommand) {
  struct Case {
    std::vector<std::string> args;
    const char* first_line;
  };
  const Case cases[] = {
      {{"--help"}, "usage: scenario_tool <command> [options] ARG"},
      {{"-h"}, "usage: scenario_tool <command> [options] ARG"},
      {{"compile", "--help"}, "usage: scenario_tool compile [options] SOURCEDIR | FILE"},
      {{"help", "compile"}, "usage: scenario_tool compile [options] SOURCEDIR | FILE"},
      {{"help", "verify"}, "usage: scenario_tool verify [options] FILE... | DIR"},
      {{"init", "--help"}, "usage: scenario_tool init [options] [DIR]"},
      {{"help", "check"}, "usage: scenario_tool check [options] [DIR | FILE]"},
      {{"help"}, "usage: scenario_tool <command> [options] ARG"},
      {{"dump", "-h", "ignored.dat"}, "usage: scenario_tool dump [options] FILE"},
      {{"plot", "--help"}, "usage: scenario_tool plot [options] DIR | FILE"},
  };
  for (const Case& c : cases) {
    RunResult r = run_tool(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(first_line(r.out), c.first_line);
    EXPECT_EQ(r.err, "");
  }
  const std::string compile_help = run_tool({"compile", "--help"}).out;
  for (const char* option : {"--route NAME", "--train CODE", "--no-line", "-o, --output OUTDIR", "--force",
                             "--werror", "--diagnostics=FORMAT", "-h, --help"}) {
    EXPECT_NE(compile_help.find(option), std::string::npos) << option;
  }
}

// Every help names the three exit statuses; --version prints one line.
TEST(CommandLine, VersionAndExitStatusesInEveryHelp) {
  RunResult v = run_tool({"--version"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, std::string("scenario_tool ") + kToolVersion + "\n");
  for (const char* command : {"init", "check", "compile", "verify", "dump", "plot"}) {
    const std::string help = run_tool({"help", command}).out;
    EXPECT_EQ(help, run_tool({command, "--help"}).out) << command;
    EXPECT_NE(help.find("Exit status: 0 clean"), std::string::npos) << command;
    EXPECT_NE(help.find("2 an unusable command line"), std::string::npos) << command;
    EXPECT_NE(run_tool({"--help"}).out.find("  " + std::string(command) + " "), std::string::npos) << command;
  }
}

TEST(CommandLine, CheckAndInitDefaultToTheCurrentFolder) {
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
}

}  // namespace
}  // namespace scenario::tool
