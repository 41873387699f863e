// The errors of a compilation: the status word, the stamp guard and a failure of the driver, in plain words.
#pragma once

#include <vector>

#include "compile/compile_outcome.h"

namespace scenario::tool {

// Empty when the compilation succeeded. Each error names the record at fault,
// says what is wrong and what is expected, and ends with the status code and
// position; notes may follow.
std::vector<Message> error_diagnostics(const CompileOutcome& r);

}  // namespace scenario::tool
