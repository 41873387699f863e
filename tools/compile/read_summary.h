// What the compiler read of the two sources, in one line for `check`.
#pragma once

#include <cstddef>
#include <string>

#include "common/diagnostics.h"
#include "model/compile_state.h"

namespace scenario::tool {

// Non-blank lines of a source that no field the compiler read touches: the
// lines after a pass stopped, or a source the compile never reached.
std::size_t lines_not_read(const Account& a, SourceId source, std::string_view text);

// "read 28 records: 1 route length, 3 chainage changes, ...; every line is
// accounted for" (or "; N lines not read").
std::string read_summary(const CompileState& state, const SourceTexts& texts);

}  // namespace scenario::tool
