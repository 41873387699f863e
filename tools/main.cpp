// scenario_tool: compile, examine and draw scenarios for authors.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "tool_main.h"

namespace {

bool stderr_is_terminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const char* no_color = std::getenv("NO_COLOR");
  const scenario::tool::Terminal terminal{stderr_is_terminal(), no_color != nullptr && *no_color != '\0'};
  return scenario::tool::tool_main(args, std::cout, std::cerr, terminal);
}
