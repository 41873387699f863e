// What every fuzz target shares: in-memory compiles, their comparable outcome, and the properties checked on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/memorizza_percorso.h"

namespace scenario::fuzz {

// The plan target draws the line plan only for routes whose train cells
// (50 m each, the route plus its 7000 m tail) number at most this: the plan
// has a point per metre of them, so this keeps one input to milliseconds.
inline constexpr std::int32_t kPlanCellLimit = 240;

// What one compile left, reduced to what two compiles of the same sources
// must agree on: the status word, the guard, whether the driver failed after
// the passes, and the serialised files.
struct Outcome {
  std::int32_t status = 0;
  std::int32_t position = 0;
  std::optional<int> guard;
  bool failed = false;             // a runtime failure after the passes
  bool serialise_failed = false;   // a text too long for its 16-bit length
  std::int32_t cell_count = -1;
  std::optional<std::string> linea;
  std::string sim;
  std::string dat;

  bool operator==(const Outcome&) const = default;
};

// Compiles the two texts in memory (a missing text is a missing file), with
// or without the line plan, and serialises the binary files unless the guard
// or a failure stops the driver. Nothing is written to disk. Anything but a
// Failure escapes to the fuzzer as a finding.
Outcome compile_texts(std::optional<std::string> line, std::optional<std::string> train, bool line_plan);

// Whether the two texts compile clean to exactly `expected`'s bytes: the
// scenario and train files compared whole, the plan (drawn only with
// `line_plan`) compared with expected.linea in place, as the decompiler does,
// so that no second copy of the largest file is built.
bool compiles_to(std::optional<std::string> line, std::optional<std::string> train, bool line_plan,
                 const BinaryFiles& expected);

// The text with every line end (CR LF, LF or CR) written as `end`.
std::string with_line_ends(std::string_view text, std::string_view end);

// Aborts (a finding) when the sources, their line ends (CR LF, LF or CR,
// mixed or not) all rewritten as one form, do not compile to `expected`.
// `choice` picks the form (CR LF, LF, CR by its remainder modulo 3): one form
// per input keeps the check to one more compile, and inputs of every size
// reach all three. When the texts are already written in that form they are
// compiled again unchanged, which checks that two compiles agree. Skipped
// when neither text holds a line end.
void check_line_end_form(const std::optional<std::string>& line, const std::optional<std::string>& train,
                         bool line_plan, const Outcome& expected, std::size_t choice);

// Aborts with `what` (a finding) when a property does not hold.
void require(bool holds, const char* what);

// Small, valid companions: a 3 km route and a train for it, so that a target
// that fuzzes one text spends its time on that text.
const std::string& companion_line();
const std::string& companion_train();

// The built-in sources, rendered once per process (seeds).
const std::string& built_in_line();
const std::string& built_in_train();

// The bytes of a fuzzer input as a text.
inline std::string as_text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Both texts from one input, split at the first NUL byte; without one the
// whole input is the line source and the train source is missing.
struct SourcePair {
  std::optional<std::string> line;
  std::optional<std::string> train;
};
SourcePair split_pair(const std::string& input);

}  // namespace scenario::fuzz
