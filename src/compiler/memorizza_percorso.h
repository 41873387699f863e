// The generator's path: compile, serialise and write the three binary files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "compiler/compile.h"
#include "model/compile_state.h"
#include "model/scenario_files.h"
#include "model/source_files.h"

namespace scenario {

// The three files' contents, each serialised into one buffer.
struct BinaryFiles {
  std::optional<std::string> linea;  // only when the line plan is compiled
  std::string sim;
  std::string dat;
};

// Whether the line plan's file is serialised with the others. A caller that
// only compares a compiled plan with a file it holds skips it and uses
// plan_matches: the plan's file is the largest by far.
enum class PlanBytes { Serialised, Skipped };

BinaryFiles serialise_all(const CompileResult& r, PlanBytes plan = PlanBytes::Serialised);

// Whether serialise_all(r) would give `linea` as the plan's file: no file
// when no plan was compiled, else exactly its bytes (compared in place).
bool plan_matches(const CompileResult& r, const std::optional<std::string>& linea);

// serialise_all, with a failure recorded in the report before it goes on: a
// name too long for its 16-bit length is put at the record that wrote it
// (from the account's owner map, when there is an account), or at no record.
BinaryFiles serialise_recorded(CompileResult& r, PlanBytes plan = PlanBytes::Serialised);

// Writes the files in the order line file (only when the plan was compiled),
// scenario file, train file; each replaced atomically.
void write_all(const BinaryFiles& files, const std::filesystem::path& dir, const ScenarioNames& names);

// The whole driver: compiles with the line plan, then serialises and writes
// the files unless the stamp guard failed (its code is in the result's
// guard, and nothing is written). A runtime failure after the passes, or
// while serialising or writing, is thrown as Failure.
CompileResult memorizza_percorso(const ScenarioNames& names, SourceFiles& sources, const std::filesystem::path& dir);

}  // namespace scenario
