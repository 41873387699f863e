// Fuzz target: an arbitrary train source behind a small valid line source,
// without the line plan; the same source with CR LF, LF or CR line ends must
// compile alike.
#include <cstddef>
#include <cstdint>

#include "fuzz_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario::fuzz;
  // Without the line plan the line source still places its gradients,
  // ranges, boards and signs in the train cells exactly as with it.
  const std::string train = as_text(data, size);
  const Outcome o = compile_texts(companion_line(), train, false);
  check_line_end_form(companion_line(), train, false, o, size);
  return 0;
}
