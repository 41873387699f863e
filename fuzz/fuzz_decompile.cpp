// Fuzz target: a pair that compiles clean is compiled, its files decompiled,
// and the rebuilt pair compiled again: the same files, or a refusal; never
// other bytes. The plan is drawn for short routes only, as in the pair target.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "decompile/decompile.h"
#include "fuzz_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const SourcePair p = split_pair(as_text(data, size));
  Outcome quick = compile_texts(p.line, p.train, false);
  if (quick.status != 0 || quick.guard || quick.failed || quick.serialise_failed || quick.cell_count < 0) return 0;
  const bool line_plan = quick.cell_count <= kPlanCellLimit;
  Outcome first = line_plan ? compile_texts(p.line, p.train, true) : std::move(quick);
  if (first.status != 0 || first.guard || first.failed || first.serialise_failed) return 0;
  // Moved, not copied: the plan's file is the largest buffer of an input.
  const scenario::BinaryFiles files{std::move(first.linea), std::move(first.sim), std::move(first.dat)};
  const scenario::tool::DecompileOutcome out = scenario::tool::decompila(files);
  require(out.pair.has_value() != !out.reasons.empty(), "a decompile gave both a pair and reasons, or neither");
  if (!out.pair) return 0;
  require(compiles_to(out.pair->line, out.pair->train, line_plan, files), "the decompiled pair compiles to other files");
  return 0;
}
