// What the compiler read of the two sources, in one line for `check`.
#pragma once

#include <cstddef>
#include <string>

#include "common/diagnostics.h"
#include "compiler/compile.h"

namespace scenario::tool {

// "read 28 records: 1 route length, 3 chainage changes, ...; every line is
// accounted for" (or "; N lines not read").
std::string read_summary(const CompileResult& state, const SourceTexts& texts);

}  // namespace scenario::tool
