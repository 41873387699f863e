// The command line of scenario_tool: commands, options, help texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/warning_names.h"

namespace scenario::tool {

enum class Command { None, Init, Check, Compile, Verify, Dump, Plot, Decompile, Diff, Help, Lsp };

// How messages are written: text on stderr, or JSON lines or one SARIF log on stdout.
enum class DiagnosticsFormat { Text, Json, Sarif };

// Whether the text messages are coloured: on a terminal (and without
// NO_COLOR), always, or never.
enum class ColorMode { Auto, Always, Never };

// The output name that stands for standard output.
inline constexpr const char* kStdoutName = "-";

// The tool's version, shown by --version.
inline constexpr const char* kToolVersion = "1.2.0";
// The versions of the formats it writes besides the generator's own files.
inline constexpr const char* kSarifVersion = "2.1.0";
inline constexpr const char* kSvgVersion = "1.1";

// Exit statuses of every command.
inline constexpr int kExitClean = 0;     // done, nothing to report (or only warnings)
inline constexpr int kExitProblems = 1;  // errors in the sources or files (or warnings under --werror)
inline constexpr int kExitUsage = 2;     // an unusable command line, or a file that cannot be read or written

struct CompileOptions {
  std::string route;  // empty: taken from the file names
  std::string train;  // empty: taken from the file names
  bool no_line = false;
  std::optional<std::filesystem::path> out_dir;
  bool force = false;
  bool werror = false;
  DiagnosticsFormat format = DiagnosticsFormat::Text;
  bool verbose = false;                // -v: status codes and positions in the text output
  bool color = false;                  // colour in the text output (decided from --color and the terminal)
  std::size_t max_diagnostics = 20;    // of one name; 0: all
  WarningSettings warnings;         // -Wno-NAME, -Werror=NAME (and --werror)
  bool check_only = false;          // `check`: report, write nothing
  std::filesystem::path source_dir;  // a folder, or one of the two source files
};

struct InitOptions {
  std::string route;  // empty: the built-in route name
  std::string train;  // empty: the built-in train code
  bool force = false;
  std::filesystem::path dir;
};

struct VerifyOptions {
  std::string route;  // with a folder: which scenario, when it holds more than one
  std::string train;
  std::vector<std::filesystem::path> paths;  // files, or one folder
  std::optional<std::filesystem::path> sources;  // --sources: compare with what these sources compile to
};

struct DumpOptions {
  bool json = false;
  std::int32_t every = 1000;  // metres between the line plan points shown
  std::filesystem::path file;
  std::optional<std::filesystem::path> output;  // absent or "-": standard output
};

struct PlotOptions {
  std::string route;  // which scenario, when the folder holds more than one
  std::string train;
  std::optional<std::filesystem::path> output;  // "-": standard output
  std::optional<double> from_km;  // the stretch to draw, in km of route distance
  std::optional<double> to_km;
  std::filesystem::path dir;
};

struct DecompileOptions {
  std::string route;  // with a folder: which scenario, when it holds more than one
  std::string train;
  std::optional<std::filesystem::path> out_dir;  // absent: the folder of the files
  bool force = false;                            // replace sources that exist already
  DiagnosticsFormat format = DiagnosticsFormat::Text;
  bool color = false;          // colour in the text output (decided from --color and the terminal)
  std::filesystem::path path;  // a folder, or one of the three files
};

struct DiffOptions {
  std::string route;  // with a folder: which scenario, when it holds more than one
  std::string train;
  DiagnosticsFormat format = DiagnosticsFormat::Text;
  std::filesystem::path before;  // OLD: a folder, or one of its three files
  std::filesystem::path after;   // NEW
};

// What the command line asks for. When `error` is not empty the arguments are
// unusable and `error` says why (with a hint where one helps).
struct Invocation {
  Command command = Command::None;
  bool help = false;
  bool version = false;
  bool warnings_help = false;  // `help warnings`
  std::string error;
  // Read from the command line even when it is unusable, so that the usage
  // error itself is reported in the format asked for.
  DiagnosticsFormat format = DiagnosticsFormat::Text;
  ColorMode color = ColorMode::Auto;
  InitOptions init;
  VerifyOptions verify;
  CompileOptions compile;
  DumpOptions dump;
  PlotOptions plot;
  DecompileOptions decompile;
  DiffOptions diff;
};

// `args` excludes the program name.
Invocation parse_command_line(const std::vector<std::string>& args);

std::string general_help();
std::string command_help(Command c);
std::string command_name(Command c);
std::string version_text();
std::string warnings_help();

}  // namespace scenario::tool
