// Fuzz target: both source texts from one input, split at the first NUL byte,
// compiled with the full line plan when the route is short enough that one
// input costs milliseconds; two compiles of the same input must give the
// same bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_compile.h"

namespace {
constexpr std::size_t kTwiceEvery = 4;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const SourcePair p = split_pair(as_text(data, size));
  // The compile without the plan says how long the route is; a long route
  // would spend the input's time drawing metres of plan.
  const Outcome quick = compile_texts(p.line, p.train, false);
  if (quick.cell_count < 0 || quick.cell_count > kPlanCellLimit) return 0;
  const Outcome first = compile_texts(p.line, p.train, true);
  // Every fourth input size compiles twice: the plan is most of an input's
  // time, and the tool target compiles every input twice without it.
  if (size % kTwiceEvery == 0) {
    require(compile_texts(p.line, p.train, true) == first, "two compiles of the same sources with the line plan differ");
  }
  return 0;
}
