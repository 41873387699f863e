// The compile driver: reset, passes, post-processing, stamps, the three files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "model/compile_state.h"
#include "model/source_files.h"

namespace scenario {

// The three files' contents, each serialised into one buffer.
struct BinaryFiles {
  std::optional<std::string> linea;  // only when the line plan is compiled
  std::string sim;
  std::string dat;
};

// Steps up to the stamps, in memory: sets CompileLine = j and StatusCode = 0,
// clears the 87 rows, runs the passes, the post-processing and the stamp
// step. Returns the guard's error code ("1250"/"1251") when it fails.
std::optional<std::string> compila(CompileState& s, std::int32_t j, SourceFiles& sources);

BinaryFiles serialise_all(const CompileState& s);

// Writes the files in the order line file (only when CompileLine is not 0),
// scenario file, train file; each replaced atomically.
void write_all(const BinaryFiles& files, const std::filesystem::path& dir, const ScenarioNames& names);

// The whole driver. Returns the guard's error code without writing anything
// when the stamp guard fails.
std::optional<std::string> memorizza_percorso(CompileState& s, std::int32_t j, SourceFiles& sources,
                                              const std::filesystem::path& dir);

}  // namespace scenario
