// Fuzz target: an arbitrary line source in front of a small valid train
// source, without the line plan; the same source with CR LF, LF or CR line
// ends must compile alike.
#include <cstddef>
#include <cstdint>

#include "fuzz_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  const std::string line = as_text(data, size);
  const Outcome o = compile_texts(line, companion_train(), false);
  check_line_end_form(line, companion_train(), false, o, size);
  return 0;
}
