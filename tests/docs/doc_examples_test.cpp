// Every shell example of the guides and the README, run against the built tool: guide and program must agree.
#include "doc_examples.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace scenario::docs {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "doc_examples_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The README runs the tool as out/scenario_tool, where scripts/run.sh puts it.
void place_tool(const fs::path& folder) {
  fs::create_directories(folder / "out");
  fs::create_symlink(SCENARIO_TOOL_PATH, folder / "out" / "scenario_tool");
}

std::vector<std::string> problems_of(const std::string& markdown) {
  Folder folder;
  place_tool(folder.path());
  return check_examples(read_examples(markdown), folder.path(), fs::path(SCENARIO_TOOL_PATH).parent_path());
}

// The README and every guide of docs/, relative to the source folder.
std::vector<std::string> guides() {
  std::vector<std::string> files = {"README.md"};
  for (const auto& e : fs::directory_iterator(fs::path(SCENARIO_SOURCE_DIR) / "docs")) {
    if (e.path().extension() == ".md") files.push_back("docs/" + e.path().filename().string());
  }
  std::sort(files.begin() + 1, files.end());
  return files;
}

class Guide : public ::testing::TestWithParam<std::string> {};

// A guide without marked examples has nothing to check.
TEST_P(Guide, ExamplesPrintWhatTheGuideShows) {
  const std::string markdown = slurp(fs::path(SCENARIO_SOURCE_DIR) / GetParam());
  for (const std::string& p : problems_of(markdown)) ADD_FAILURE() << GetParam() << ", " << p;
}

INSTANTIATE_TEST_SUITE_P(Docs, Guide, ::testing::ValuesIn(guides()), [](const auto& info) {
  std::string name = fs::path(info.param).stem().string();
  for (char& c : name) c = c == '-' || c == '.' ? '_' : c;
  return name;
});

// The guides that authors start from carry examples, so the test above has
// something to run.
TEST(Docs, StartingGuidesHaveExamples) {
  for (const char* guide : {"README.md", "docs/getting-started.md", "docs/diagnostics.md"}) {
    EXPECT_FALSE(read_examples(slurp(fs::path(SCENARIO_SOURCE_DIR) / guide)).empty()) << guide;
  }
}

// The checker itself: a changed expected line, a missing line and a failed
// hidden step are each reported; "..." stands for the rest of a line.
TEST(DocChecker, ReportsEveryKindOfDisagreement) {
  struct Case {
    const char* name;
    const char* markdown;
    bool agrees;
  };
  const Case cases[] = {
      {"same", "```console\n$ printf 'a\\nb\\n'\na\nb\n```\n", true},
      {"changed_line", "```console\n$ printf 'a\\nb\\n'\na\nc\n```\n", false},
      {"missing_line", "```console\n$ printf 'a\\nb\\n'\na\n```\n", false},
      {"rest_of_line", "```console\n$ echo 'cell 773: Word1 4, Word2 0'\ncell 773: Word1 4, ...\n```\n", true},
      {"prefix_differs", "```console\n$ echo 'cell 773: Word1 4'\ncell 774...\n```\n", false},
      {"hidden_step_state", "<!-- doctest: echo kept > f -->\n```console\n$ cat f\nkept\n```\n", true},
      {"hidden_step_fails", "<!-- doctest: false -->\n", false},
      {"stderr_in_order", "```console\n$ echo one; echo two >&2\none\ntwo\n```\n", true},
      {"other_fences_ignored", "```\n$ false\nnothing\n```\n", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(problems_of(c.markdown).empty(), c.agrees) << c.name;
  }
}

}  // namespace
}  // namespace scenario::docs
