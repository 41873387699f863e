// The shell examples of the guides: how they are marked, read and run.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace scenario::docs {

// One step of a guide, in the order the guide gives them. A fenced block
// opened with "```console" holds commands, each on a line starting "$ ",
// followed by the output they print (stdout and stderr together). An
// expected line that ends in "..." matches any line that starts with the rest.
// A comment line "<!-- doctest: COMMAND -->" is a step the reader does by
// hand (editing a source): it runs, its output is not shown, and it must
// succeed.
struct Example {
  std::size_t line = 0;  // 1-based line of the command in the guide
  std::string command;
  std::vector<std::string> expected;
  bool hidden = false;  // a doctest comment
};

std::vector<Example> read_examples(const std::string& markdown);

// Runs every example of one guide in order in `folder`, with `tool_dir`
// first on PATH. Returns one description per example whose output differs
// (or whose hidden step failed); empty when the guide and the program agree.
std::vector<std::string> check_examples(const std::vector<Example>& examples, const std::filesystem::path& folder,
                                        const std::filesystem::path& tool_dir);

}  // namespace scenario::docs
