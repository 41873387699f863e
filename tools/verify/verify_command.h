// scenario_tool verify: the checks of verify_checks on files or on the three files of a scenario.
#pragma once

#include <ostream>

#include "common/cli.h"

namespace scenario::tool {

// Verifies the files (or the scenario in the folder) and reports each
// mismatch; returns 0 when there is none, 1 otherwise. Throws Failure when a
// file cannot be read or the folder does not say which scenario to verify.
int run_verify(const VerifyOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
