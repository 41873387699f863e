// What one compilation left behind, as the diagnostics read it.
#pragma once

#include <optional>
#include <string>

#include "common/diagnostics.h"
#include "model/compile_state.h"

namespace scenario::tool {

struct CompileOutcome {
  const CompileState& state;
  const SourceTexts& texts;
};

}  // namespace scenario::tool
