// scenario_tool decompile: the source pair of a set of binary files, written only when it compiles back to them.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/cli.h"
#include "compiler/memorizza_percorso.h"

namespace scenario::tool {

// The three files of one scenario read from a folder (with --route and
// --train when it holds more than one) or named by one of its files; the
// linea.dat is absent when none lies beside the others.
struct FileSet {
  BinaryFiles bytes;
  std::filesystem::path sim;  // the .sim read, for messages
};
FileSet read_file_set(const std::filesystem::path& path, const std::string& route, const std::string& train);

// The code of a refusal's messages in JSON and SARIF.
inline constexpr const char* kRefusalCode = "decompile";

// Exit status 0 when the pair was written, 1 when the files cannot be
// rebuilt (the refusal and each reason reported in the format asked for), 2
// for a file that cannot be found, read or written.
int run_decompile(const DecompileOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
