// Fuzz target: both source texts from one input, split at the first NUL byte.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const std::string input = as_text(data, size);
  const std::size_t cut = input.find('\0');
  // Without a separator the whole input is the line source and the train
  // source is missing, as when its file was never written.
  if (cut == std::string::npos) {
    compile_texts(input, std::nullopt);
  } else {
    compile_texts(input.substr(0, cut), input.substr(cut + 1));
  }
  return 0;
}
