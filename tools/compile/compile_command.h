// scenario_tool compile: the generator's compiler on an author's sources, with diagnostics.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "common/cli.h"
#include "common/diagnostics.h"
#include "compiler/compile.h"
#include "compiler/memorizza_percorso.h"

namespace scenario::tool {

// One compilation: the names, the texts as read, and what the compiler left.
struct CompileSession {
  CompileOptions options;
  ScenarioNames names;
  SourceTexts texts;
  CompileResult state;
  bool stopped = false;  // the stamp guard or a failure after the passes: the generator writes nothing
};

// Every message of one compilation, in source order: the compiler's recorded
// errors, then the warnings about the texts and their fields (as errors under
// --werror). Render them with render_text or render_json (common/diagnostics.h),
// whose output stays within bound_of() whatever the texts hold.
//
// Only the messages a rendering with `max_per_name` shows are kept (all with
// 0); the others are counted in `held`, and every message in the totals.
struct CompileReport {
  std::vector<Message> messages;
  HeldCounts held;
  std::size_t errors = 0;
  std::size_t warnings = 0;
};
CompileReport compile_messages(const CompileResult& state, const SourceTexts& texts, bool werror,
                               std::size_t max_per_name = 0);
// The same with each warning switched as -Wno-NAME and -Werror=NAME ask
// (the lint warnings included).
CompileReport compile_messages(const CompileResult& state, const SourceTexts& texts, const WarningSettings& settings,
                               std::size_t max_per_name = 0);

// Resolves the names and reads the two texts (a missing one stays absent).
// Throws Failure when the directory does not say which sources to compile.
CompileSession open_session(const CompileOptions& options);

// Compiles the session's texts in memory, as check and compile do, and fills
// its state; the three files' bytes when the compile got as far as writing them
// (the plan's file only when `plan` asks for it).
std::optional<BinaryFiles> compile_in_memory(CompileSession& session, PlanBytes plan = PlanBytes::Serialised);

// Compiles in memory, prints the diagnostics and the summary, and writes the
// three files when there is no error (or with --force) and the generator
// itself would write them. Returns the exit status: 0, or 1 after errors.
int run_compile(CompileSession& session, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
