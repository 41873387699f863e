// scenario_tool dump: the contents of one binary file as text or JSON.
#pragma once

#include <ostream>

#include "common/cli.h"

namespace scenario::tool {

// Decodes the file named in the options and prints it; throws Failure for a
// file that cannot be read or is truncated or malformed.
void run_dump(const DumpOptions& options, std::ostream& out);

}  // namespace scenario::tool
