// The compiler's recorded diagnostics in the author's words.
#pragma once

#include <vector>

#include "common/diagnostics.h"
#include "compiler/compile.h"

namespace scenario::tool {

// One error per recorded diagnostic, placed at the field at fault and naming
// it by its meaning from the record table ("the station's length, field 3").
// A diagnostic that only restates an earlier one, and the failure that stops
// the generator after an error, become notes of that error. The error that
// set the status word carries its position (shown with -v and in JSON).
std::vector<Message> error_messages(const CompileResult& state, const SourceTexts& texts);

}  // namespace scenario::tool
