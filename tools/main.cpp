// scenario_tool: compile, examine and draw scenarios for authors.
#include <iostream>
#include <string>
#include <vector>

#include "common/tool_main.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return scenario::tool::tool_main(args, std::cout, std::cerr);
}
