// The step every fuzz target shares: one in-memory compile and serialisation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace scenario::fuzz {

// Compiles the two texts in memory (a missing text is a missing file) with
// CompileLine = j and serialises the binary files; nothing is written to
// disk. A Failure that leaves the compiler is an outcome the program reports
// with exit 2, so it is accepted here; anything else escapes to the fuzzer as
// a finding.
void compile_texts(std::optional<std::string> line, std::optional<std::string> train, std::int32_t j = 1);

// The built-in sources, rendered once per process.
const std::string& built_in_line();
const std::string& built_in_train();

// The bytes of a fuzzer input as a text.
inline std::string as_text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace scenario::fuzz
