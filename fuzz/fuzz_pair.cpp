// Fuzz target: both source texts from one input, split at the first NUL byte,
// compiled without the line plan, then with it when the route is short enough
// that one input costs milliseconds; two compiles of the same input must give
// the same bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_compile.h"

namespace {
// The plan is most of an input's time (a point per metre of the route and of
// its 7 km tail, so thousands even for the shortest route): it is drawn for
// inputs of even size, and twice for every eighth size, since the other
// targets already compile every input twice without it.
constexpr std::size_t kPlanEvery = 2;
constexpr std::size_t kTwiceEvery = 8;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const SourcePair p = split_pair(as_text(data, size));
  // The compile without the plan says how long the route is; a long route
  // would spend the input's time drawing metres of plan.
  const Outcome quick = compile_texts(p.line, p.train, false);
  if (quick.cell_count < 0 || quick.cell_count > kPlanCellLimit || size % kPlanEvery != 0) return 0;
  const Outcome first = compile_texts(p.line, p.train, true);
  if (size % kTwiceEvery == 0) {
    require(compile_texts(p.line, p.train, true) == first, "two compiles of the same sources with the line plan differ");
  }
  return 0;
}
