// scenario_tool init: a starting pair of sources, the built-in route and train.
#pragma once

#include <ostream>

#include "common/cli.h"

namespace scenario::tool {

// Writes <route>_linea.txt and <route>_<train>-.txt into the options' folder
// (created when missing), byte for byte as the generator writes its own.
// Refuses, writing neither, when one exists and --force is not given.
// Returns the exit status.
int run_init(const InitOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
