// What one compilation left behind, as the diagnostics read it.
#pragma once

#include <optional>
#include <string>

#include "common/diagnostics.h"
#include "compiler/compile.h"

namespace scenario::tool {

struct CompileOutcome {
  const CompileResult& state;
  const SourceTexts& texts;
};

}  // namespace scenario::tool
