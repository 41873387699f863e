// scenario_tool compile: the generator's compiler on an author's sources, with diagnostics.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "common/cli.h"
#include "common/diagnostics.h"
#include "model/compile_state.h"

namespace scenario::tool {

enum class CompileStage { Opened, Compiling, Compiled };

// One compilation: the names, the texts as read, and what the compiler left.
struct CompileSession {
  CompileOptions options;
  ScenarioNames names;
  SourceTexts texts;
  CompileState state;
  std::optional<std::string> guard_code;
  CompileStage stage = CompileStage::Opened;
};

// Resolves the names and reads the two texts (a missing one stays absent).
// Throws Failure when the directory does not say which sources to compile.
CompileSession open_session(const CompileOptions& options);

// Compiles in memory, reports, and writes the three files when there is no
// error (or with --force). Returns the exit status: 0, or 1 after errors.
// A runtime failure of the driver after the passes propagates as Failure with
// the session left at CompileStage::Compiling.
int run_compile(CompileSession& session, std::ostream& out, std::ostream& err);

// Prints the diagnostics and the summary, writes the files when allowed.
// `driver_failure` is the runtime failure that stopped the driver, if any;
// the generator writes nothing after one, and neither does this.
int report_compile(CompileSession& session, const std::optional<std::string>& driver_failure, std::ostream& out,
                   std::ostream& err);

}  // namespace scenario::tool
