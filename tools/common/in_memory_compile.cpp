// Compiling two source texts in memory for every command that needs the files without writing them.
#include "common/in_memory_compile.h"

#include "model/source_files.h"
#include "platform/failure.h"

namespace scenario::tool {

InMemoryCompile compile_in_memory(const ScenarioNames& names, const std::optional<std::string>& line,
                                  const std::optional<std::string>& train, const scenario::CompileOptions& options,
                                  PlanBytes plan) {
  // Copies: "deleting" a text in memory must not lose what the caller quotes.
  SourceFiles sources = SourceFiles::in_memory(line, train);
  InMemoryCompile c;
  c.result = compile(names, options, sources);
  if (c.result.guard || c.result.failure) return c;
  try {
    c.files = serialise_recorded(c.result, plan);
  } catch (const Failure&) {
    c.files.reset();
  }
  return c;
}

}  // namespace scenario::tool
