// Fuzz target: an arbitrary train source behind the built-in line source.
#include <cstddef>
#include <cstdint>

#include "fuzz_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  // Without the line plan (j = 0) the built-in line source still places its
  // gradients, ranges, boards and signs in the train cells exactly as with
  // it; drawing and serialising a 103001-point plan on every input would only
  // slow the search of the train pass down tenfold.
  compile_texts(built_in_line(), as_text(data, size), 0);
  return 0;
}
