// Rebuilding a source pair from the three binary files, kept only when it compiles back to the same bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compiler/memorizza_percorso.h"
#include "model/scenario_files.h"

namespace scenario::tool {

// The two source texts rebuilt from a set of files, in the built-in sources'
// style: Latin-1 bytes as the files hold them, CR LF line ends.
struct SourcePair {
  ScenarioNames names;
  std::string line;
  std::string train;
};

// A pair that compiles to the same three files, or the reasons why none was
// written: each names a cell, row or plan point it cannot explain; after the
// first twenty, a last reason says how many more there are.
struct DecompileOutcome {
  std::optional<SourcePair> pair;
  std::vector<std::string> reasons;
};

// Rebuilds the sources of `files` (the .sim and .dat; the linea.dat when
// present, else a pair without curves, compiled without the plan), then
// compiles them in memory and keeps them only when all the files come out
// byte for byte the same. Never throws for the files' content.
DecompileOutcome decompila(const BinaryFiles& files);

}  // namespace scenario::tool
