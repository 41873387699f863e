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
  std::optional<std::string> guard_code;      // "1250"/"1251" when the stamp guard failed
  std::optional<std::string> driver_failure;  // the runtime failure that stopped the driver after the passes
};

}  // namespace scenario::tool
