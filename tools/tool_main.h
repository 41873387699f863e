// The tool's entry point, separate from main() so that tests can run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

// What main() knows of the process's surroundings, for --color=auto.
struct Terminal {
  bool stderr_is_terminal = false;
  bool no_color = false;  // NO_COLOR is set to a non-empty value
};

// Runs one command line (without the program name). Exit status: 0 clean,
// 1 errors in the sources or files (or warnings under --werror), 2 an
// unusable command line or a file that cannot be found, read or written.
// Every error, usage and I/O errors included, is reported in the format
// --diagnostics asks for.
int tool_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const Terminal& terminal = {});

}  // namespace scenario::tool
