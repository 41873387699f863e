// The tool's entry point, separate from main() so that tests can run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

// Runs one command line (without the program name). Exit status: 0 clean,
// 1 errors in the sources or files (or warnings under --werror), 2 an
// unusable command line or a file that cannot be read or written.
int tool_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
