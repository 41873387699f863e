// Reading the marked shell examples out of a guide and running them in a folder of their own.
#include "doc_examples.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>

namespace scenario::docs {
namespace {

constexpr std::string_view kOpen = "```console";
constexpr std::string_view kClose = "```";
constexpr std::string_view kPrompt = "$ ";
constexpr std::string_view kHiddenOpen = "<!-- doctest: ";
constexpr std::string_view kHiddenClose = " -->";
constexpr std::string_view kAnyRest = "...";

bool starts_with(std::string_view s, std::string_view head) { return s.substr(0, head.size()) == head; }
bool ends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Run {
  int status = -1;
  std::string output;
};

// The command through sh in `folder`, stdout and stderr as one stream.
Run run_in(const std::string& command, const std::filesystem::path& folder, const std::filesystem::path& tool_dir) {
  const std::string line = "cd '" + folder.string() + "' && PATH='" + tool_dir.string() + "':\"$PATH\" && (" +
                           command + ") 2>&1";
  Run r;
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) return r;
  std::array<char, 4096> buffer{};
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) r.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

bool line_matches(const std::string& expected, const std::string& actual) {
  if (ends_with(expected, kAnyRest)) return starts_with(actual, expected.substr(0, expected.size() - kAnyRest.size()));
  return expected == actual;
}

bool output_matches(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  if (expected.size() != actual.size()) return false;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (!line_matches(expected[i], actual[i])) return false;
  }
  return true;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += "    " + l + "\n";
  return out;
}

}  // namespace

std::vector<Example> read_examples(const std::string& markdown) {
  std::vector<Example> examples;
  bool in_block = false;
  const std::vector<std::string> lines = split_lines(markdown);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!in_block && starts_with(line, kHiddenOpen) && ends_with(line, kHiddenClose)) {
      const std::size_t length = line.size() - kHiddenOpen.size() - kHiddenClose.size();
      examples.push_back({i + 1, line.substr(kHiddenOpen.size(), length), {}, true});
    } else if (!in_block && line == kOpen) {
      in_block = true;
    } else if (in_block && line == kClose) {
      in_block = false;
    } else if (in_block && starts_with(line, kPrompt)) {
      examples.push_back({i + 1, line.substr(kPrompt.size()), {}, false});
    } else if (in_block && !examples.empty() && !examples.back().hidden) {
      examples.back().expected.push_back(line);
    }
  }
  return examples;
}

std::vector<std::string> check_examples(const std::vector<Example>& examples, const std::filesystem::path& folder,
                                        const std::filesystem::path& tool_dir) {
  std::vector<std::string> problems;
  for (const Example& e : examples) {
    const Run r = run_in(e.command, folder, tool_dir);
    const std::string where = "line " + std::to_string(e.line) + ": " + e.command;
    if (e.hidden) {
      if (r.status != 0) problems.push_back(where + "\n  failed (status " + std::to_string(r.status) + "):\n" + r.output);
      continue;
    }
    const std::vector<std::string> actual = split_lines(r.output);
    if (!output_matches(e.expected, actual)) {
      problems.push_back(where + "\n  the guide shows:\n" + joined(e.expected) + "  the program prints:\n" +
                         joined(actual));
    }
  }
  return problems;
}

}  // namespace scenario::docs
