// Finding an author's line and train sources in a directory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/compile_state.h"

namespace scenario::tool {

// The route and train to compile from `dir`: the given names, or the ones
// taken from the file names <route>_linea.txt and <route>_<train>-.txt when
// the directory holds exactly one such pair. Throws Failure with a message
// that says which option is needed when the choice is not clear.
ScenarioNames find_sources(const std::filesystem::path& dir, const std::string& route, const std::string& train);

// The folder and the names to compile from a folder, or from one of the two
// source files (<route>_linea.txt or <route>_<train>-.txt): a file names its
// own scenario, and its partner is looked for beside it.
struct SourceSelection {
  std::filesystem::path dir;
  ScenarioNames names;
};
SourceSelection select_sources(const std::filesystem::path& dir_or_file, const std::string& route,
                               const std::string& train);

// A file in `dir` whose name is `wanted` written slightly wrong: another
// case, the '-' before ".txt" missing or added, or ".TXT". Its name, if there
// is one (the first in name order).
std::optional<std::string> misnamed_source(const std::filesystem::path& dir, const std::string& wanted);

// The hint for a misnamed source: "did you mean 'FOUND'? ..." naming the file
// that is there and the name it needs.
std::string misnamed_hint(const std::string& found, const std::string& wanted);

}  // namespace scenario::tool
