// Tests of init: the starting pair is the generator's own sources, under any names, never over a file unasked.
#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace scenario::tool {
namespace {

using namespace testing;

const char* const kBinaryFiles[] = {"Castrovelde_Ardis_linea.dat", "Castrovelde_Ardis_R31708.sim",
                                    "Castrovelde_Ardis_R31708.dat"};

// init, then compile under the built-in names: the generator's three files.
TEST(Init, CompiledUnderTheBuiltInNamesGivesTheGeneratorsFiles) {
  TempDir tmp;
  const fs::path dir = tmp.path() / "new" / "route";
  RunResult r = run_tool({"init", dir.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_of(r.out)[0], "wrote " + (dir / "Castrovelde_Ardis_linea.txt").string());
  const std::string line = slurp(dir / "Castrovelde_Ardis_linea.txt");
  EXPECT_EQ(line, render_lines(righe_linea()));
  EXPECT_EQ(slurp(dir / "Castrovelde_Ardis_R31708-.txt"), render_lines(righe_treno()));
  EXPECT_NE(line.find("\r\n"), std::string::npos) << "CR LF line ends";

  ASSERT_EQ(run_tool({"compile", dir.string()}).status, 0);
  for (const char* name : kBinaryFiles) {
    EXPECT_TRUE(slurp(dir / name) == slurp(generator_output() / name)) << name << " differs from the generator's";
  }
}

TEST(Init, OwnNamesGiveTheSameTextsUnderThoseNames) {
  TempDir tmp;
  RunResult r = run_tool({"init", "--route", "Val_Chiara", "--train", "D12", tmp.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(snapshot(tmp.path()), (std::map<std::string, std::string>{
                                      {"Val_Chiara_D12-.txt", render_lines(righe_treno())},
                                      {"Val_Chiara_linea.txt", render_lines(righe_linea())}}));
  RunResult c = run_tool({"compile", tmp.path().string()});
  EXPECT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(c.out.rfind("compiled Val_Chiara / D12: route 96000 m", 0), 0u) << c.out;
}

// An existing source, either of the two, stops init before it writes
// anything; --force replaces both.
TEST(Init, NeverOverwritesWithoutForce) {
  for (const char* existing : {"Castrovelde_Ardis_linea.txt", "Castrovelde_Ardis_R31708-.txt"}) {
    TempDir tmp;
    spit(tmp.path() / existing, "mine");
    RunResult r = run_tool({"init", tmp.path().string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "scenario_tool: error: '" + (tmp.path() / existing).string() +
                         "' already exists; nothing written (--force replaces it)\n");
    EXPECT_EQ(snapshot(tmp.path()), (std::map<std::string, std::string>{{existing, "mine"}}));
    EXPECT_EQ(run_tool({"init", "--force", tmp.path().string()}).status, 0);
    EXPECT_EQ(snapshot(tmp.path()).size(), 2u);
    EXPECT_NE(slurp(tmp.path() / existing), "mine");
  }
}

// A space, the first character above the controls, and other punctuation
// are fine in a file name.
TEST(Init, NamesWithSpacesAndPunctuation) {
  TempDir tmp;
  RunResult r = run_tool({"init", "--route", "Valle Nuova", "--train", "R 1.2", tmp.path().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(tmp.path() / "Valle Nuova_linea.txt"));
  EXPECT_TRUE(fs::exists(tmp.path() / "Valle Nuova_R 1.2-.txt"));
}

TEST(Init, NamesThatCannotBeFileNames) {
  TempDir tmp;
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--route", "a/b"}, "--route 'a/b' holds a character that a file name cannot carry"},
      {{"--train", "T:1"}, "--train 'T:1' holds a character that a file name cannot carry"},
      {{"--route", "a\\b"}, "--route 'a\\b' holds a character that a file name cannot carry"},
      {{"--train", "T\\1"}, "--train 'T\\1' holds a character that a file name cannot carry"},
      // 0x1f, the last control byte; DEL.
      {{"--route", "a\x1f"}, "--route 'a\\x1f' holds a character that a file name cannot carry"},
      {{"--train", "T\x7f"}, "--train 'T\\x7f' holds a character that a file name cannot carry"},
  };
  for (const auto& [options, error] : cases) {
    std::vector<std::string> args = {"init"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(tmp.path().string());
    RunResult r = run_tool(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, std::string("scenario_tool: error: ") + error + "\n");
  }
  EXPECT_TRUE(snapshot(tmp.path()).empty());
}

}  // namespace
}  // namespace scenario::tool
