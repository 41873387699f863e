// scenario_tool dump: the contents of one binary file as text or JSON.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "common/binary_files.h"
#include "common/cli.h"

namespace scenario::tool {

// Decodes the file named in the options and prints it; throws Failure for a
// file that cannot be read or is truncated or malformed.
void run_dump(const DumpOptions& options, std::ostream& out);

// The same listing of a file's bytes held in memory; `name` is shown as the
// file's name. Throws Failure for bytes that are truncated or malformed.
void dump_bytes(FileKind kind, std::string_view bytes, const std::string& name, const DumpOptions& options,
                std::ostream& out);

}  // namespace scenario::tool
