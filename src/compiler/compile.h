// The one call every caller compiles with: names, options and sources in, a fresh result out.
#pragma once

#include <optional>

#include "model/compile_state.h"
#include "model/source_files.h"
#include "model/status.h"
#include "platform/failure.h"

namespace scenario {

struct CompileOptions {
  bool line_plan = true;     // compile the track plan (the generator always does)
  bool account = false;      // keep the account of every record and the owner map, for the authors' tool
};

// What one compilation hands back: the scenario (what the three files hold),
// the report (the status word and every rule that broke), the account when
// asked, and what stops the files from being written: the stamp guard's code
// when it failed, or the runtime failure that ended the compile after the
// passes (for example the post-processing of a route that has no train cells).
struct CompileResult {
  Scenario scenario;
  Report report;
  std::optional<Account> account;
  std::int32_t CompileLine = 0;  // 1 when the track plan was compiled
  std::optional<Status> guard;
  std::optional<Failure> failure;
};

// Runs the passes, the post-processing and the stamps on a fresh state. A
// runtime failure inside the passes is status 25 in the state, as always; one
// after them is returned in `failure`, never thrown.
CompileResult compile(const ScenarioNames& names, const CompileOptions& options, SourceFiles& sources);

}  // namespace scenario
