// Compiling two source texts in memory for every command that needs the files without writing them.
#pragma once

#include <optional>
#include <string>

#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"

namespace scenario::tool {

// What one in-memory compile left: the compiler's result (with its account
// when asked) and the three files' bytes when the driver got as far as writing them.
struct InMemoryCompile {
  CompileResult result;
  // Absent when the stamp guard failed, a failure ended the compile after
  // the passes, or a text was too long for its record (recorded in the
  // result's report at the record that wrote it): the generator writes
  // nothing then. Present whatever errors the sources hold.
  std::optional<BinaryFiles> files;
};

// Compiles the two texts (an absent one is a missing file) under `names`,
// with or without the track plan and the account as `options` ask, exactly
// as the generator would, and serialises the files; nothing is read from or
// written to disk. With PlanBytes::Skipped the plan's file is left out of
// `files` (the compiled plan is still in the result).
InMemoryCompile compile_in_memory(const ScenarioNames& names, const std::optional<std::string>& line,
                                  const std::optional<std::string>& train, const scenario::CompileOptions& options,
                                  PlanBytes plan = PlanBytes::Serialised);

}  // namespace scenario::tool
