// The pass that adds speed marks around signals and slow orders.
#pragma once

#include "model/compile_state.h"

namespace scenario {

// One pass over the train cells (codes 11, 12, 13). A code is recorded at
// the signal or slow order of `origins` behind it. Throws Failure when the
// train cell array was never created.
void elabora_celle(CompileState& s, const Origins& origins);

}  // namespace scenario
