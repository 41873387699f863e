// Tests of the SARIF log: its 2.1.0 structure read back as JSON, the rules, and a warning's place round-tripped.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "common/diagnostics.h"
#include "tool_test_support.h"
#include "common/warning_names.h"

namespace scenario::tool {
namespace {

using namespace testing;
using nlohmann::json;

// The members every SARIF 2.1.0 log and result this tool writes must carry.
void expect_sarif_structure(const json& log) {
  EXPECT_EQ(log.at("version"), "2.1.0");
  EXPECT_EQ(log.at("$schema"), "https://json.schemastore.org/sarif-2.1.0.json");
  ASSERT_EQ(log.at("runs").size(), 1u);
  const json& driver = log["runs"][0].at("tool").at("driver");
  EXPECT_EQ(driver.at("name"), "scenario_tool");
  const json& rules = driver.at("rules");
  ASSERT_EQ(rules.size(), warning_names().size());
  for (std::size_t i = 0; i < rules.size(); ++i) {
    EXPECT_EQ(rules[i].at("id"), std::string(warning_names()[i].name));
    EXPECT_EQ(rules[i].at("help").at("text"), std::string(warning_names()[i].when));
    EXPECT_EQ(rules[i].at("shortDescription").at("text"), std::string(warning_names()[i].when));
  }
  for (const json& r : log["runs"][0].at("results")) {
    EXPECT_TRUE(r.at("level") == "error" || r.at("level") == "warning" || r.at("level") == "note") << r;
    EXPECT_TRUE(r.at("message").at("text").is_string()) << r;
    for (const json& l : r.value("locations", json::array())) {
      EXPECT_TRUE(l.at("physicalLocation").at("artifactLocation").at("uri").is_string()) << r;
    }
  }
}

// The Valle_Nuova / R100 pair in `dir` with a slow order at 40030 m: one
// rounded-position warning.
fs::path warned_pair(const fs::path& dir) {
  if (run_tool({"init", "--route", "Valle_Nuova", "--train", "R100", dir.string()}).status != 0) {
    throw std::runtime_error("init failed");
  }
  const fs::path train = dir / "Valle_Nuova_R100-.txt";
  spit(train, replaced(slurp(train), "[rallentamenti]\r\n",
                       "[rallentamenti]\r\nrallentamento,   40030,   30,   500,   0,   1,   0\r\n"));
  return dir;
}

// A compile with one warning: its rule, level, text and place come back
// from the SARIF log as the text rendering states them.
TEST(Sarif, WarningLocationRoundTrips) {
  TempDir tmp;
  const fs::path dir = warned_pair(tmp.path() / "valle nuova");  // a blank, percent-encoded in the URI
  const fs::path train = dir / "Valle_Nuova_R100-.txt";

  const RunResult sarif = run_tool({"check", "--diagnostics=sarif", dir.string()});
  const RunResult text = run_tool({"check", dir.string()});
  EXPECT_EQ(sarif.status, 0) << sarif.err;
  const json log = json::parse(sarif.out);
  expect_sarif_structure(log);
  const json& results = log["runs"][0]["results"];
  ASSERT_EQ(results.size(), 1u) << sarif.out;
  const json& r = results[0];
  EXPECT_EQ(r.at("ruleId"), "rounded-position");
  EXPECT_EQ(r.at("level"), "warning");
  const json& where = r.at("locations").at(0).at("physicalLocation");
  EXPECT_EQ(where.at("artifactLocation").at("uri"), "file://" + tmp.path().string() + "/valle%20nuova/Valle_Nuova_R100-.txt");
  const int line = where.at("region").at("startLine");
  const int column = where.at("region").at("startColumn");
  // The same warning as text: FILE:LINE:COLUMN: warning: TEXT [-Wrounded-position].
  const std::string expected = train.string() + ":" + std::to_string(line) + ":" + std::to_string(column) +
                               ": warning: " + r.at("message").at("text").get<std::string>() + " [-Wrounded-position]";
  EXPECT_EQ(first_line(text.err), expected);
  EXPECT_EQ(line, 34);
  EXPECT_EQ(column, 18);
}

// Usage and I/O errors, and a source's errors, are results of one valid log.
TEST(Sarif, EveryErrorIsAResult) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* rule;
    bool located;
  };
  const Case cases[] = {
      {"usage", {"compile", "--diagnostics=sarif", "--forse", "x"}, 2, "usage", false},
      {"io", {"dump", "--diagnostics", "sarif", "/nonexistent/X_T.dat"}, 2, "io", false},
      {"source", {"compile", "--diagnostics=sarif", fixture("code_9").string()}, 1, "9", true},
  };
  for (const Case& c : cases) {
    const RunResult r = run_tool(c.args);
    EXPECT_EQ(r.status, c.status) << c.name;
    const json log = json::parse(r.out);
    expect_sarif_structure(log);
    const json& results = log["runs"][0]["results"];
    ASSERT_GE(results.size(), 1u) << c.name;
    EXPECT_EQ(results[0].at("ruleId"), c.rule) << c.name;
    EXPECT_EQ(results[0].at("level"), "error") << c.name;
    EXPECT_EQ(results[0].contains("locations"), c.located) << c.name;
  }
}

// A folder that cannot be made for the files is one more result of the same
// log, after the source's warning.
TEST(Sarif, WriteFailureJoinsTheReport) {
  TempDir tmp;
  const fs::path dir = warned_pair(tmp.path() / "valle");
  spit(tmp.path() / "blocker", "a file where a folder should be");
  const RunResult r =
      run_tool({"compile", "--diagnostics=sarif", "-o", (tmp.path() / "blocker" / "out").string(), dir.string()});
  EXPECT_EQ(r.status, 2);
  const json log = json::parse(r.out);
  expect_sarif_structure(log);
  const json& results = log["runs"][0]["results"];
  ASSERT_EQ(results.size(), 2u) << r.out;
  EXPECT_EQ(results[0].at("ruleId"), "rounded-position");
  EXPECT_EQ(results[1].at("ruleId"), "io");
  EXPECT_EQ(results[1].at("message").at("text"),
            "cannot create the folder '" + (tmp.path() / "blocker" / "out").string() + "': Not a directory");
}

}  // namespace
}  // namespace scenario::tool
