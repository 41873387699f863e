// The command line of scenario_tool: commands, options, help texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

enum class Command { None, Compile, Dump, Plot };

struct CompileOptions {
  std::string route;  // empty: taken from the file names
  std::string train;  // empty: taken from the file names
  bool no_line = false;
  std::optional<std::filesystem::path> out_dir;
  bool force = false;
  bool werror = false;
  bool json = false;
  bool verbose = false;                // -v: status codes and positions in the text output
  std::size_t max_diagnostics = 20;    // of one name; 0: all
  std::filesystem::path source_dir;
};

struct DumpOptions {
  bool json = false;
  std::int32_t every = 1000;  // metres between the line plan points shown
  std::filesystem::path file;
};

struct PlotOptions {
  std::optional<std::filesystem::path> output;
  std::filesystem::path dir;
};

// What the command line asks for. When `error` is not empty the arguments are
// unusable and `error` says why (with a hint where one helps).
struct Invocation {
  Command command = Command::None;
  bool help = false;
  std::string error;
  CompileOptions compile;
  DumpOptions dump;
  PlotOptions plot;
};

// `args` excludes the program name.
Invocation parse_command_line(const std::vector<std::string>& args);

std::string general_help();
std::string command_help(Command c);
std::string command_name(Command c);

}  // namespace scenario::tool
