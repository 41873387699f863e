// Fuzz target: an arbitrary line source in front of the built-in train source.
#include <cstddef>
#include <cstdint>

#include "fuzz_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  compile_texts(as_text(data, size), built_in_train());
  return 0;
}
