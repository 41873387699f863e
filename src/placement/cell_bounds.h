// Bounds checks that a placement makes before it writes any cell.
#pragma once

#include <cstdint>
#include <string>

#include "model/compile_state.h"

namespace scenario {

// Throws Failure naming `what` unless every index from first to last lies in
// the train cell array. Nothing to check when first > last.
void require_cells(const CompileState& s, std::int64_t first, std::int64_t last, const std::string& what);

}  // namespace scenario
