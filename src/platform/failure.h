// The project's one exception type for runtime failures, with a typed reason.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace scenario {

// Why a runtime failure happened, so that a caller can say it in its own
// words instead of parsing a sentence back.
enum class FailureKind : std::uint8_t {
  Io,          // a file could not be found, opened, read, written, replaced or deleted
  TextEnded,   // a field was expected but the source text has ended
  NotANumber,  // a numeric field holds something that is not a number
  TooWide,     // a value does not fit its field (Low..High)
  OutOfRange,  // an index outside its array: a cell, a row, a plan point (Low..High)
  Missing,     // something the compiler needs was never created (train cells, line plan)
  Full,        // a fixed-size list has no room left (ranges, sign rows); High is its capacity
};

// What an index that failed pointed into, for OutOfRange and Missing.
enum class Indexed : std::uint8_t {
  Nothing,      // the failure is no index
  TrainCell,    // the train cell array
  PlanPoint,    // the line plan, one point per metre
  ScenarioRow,  // the scenario table
};

// The typed part of a failure: what was expected, what was found, and the
// limits that were broken, each present where it applies. For Io, expected
// is the action ("open", "read", "delete", "replace") and found the file.
struct FailureDetail {
  FailureKind kind = FailureKind::Io;
  std::string expected{};   // "a 16-bit number", "train cells", ...
  std::string found{};      // the field's text, or the value as written
  std::int64_t value = 0;   // the offending number or index
  std::int64_t low = 0;     // the allowed range, for TooWide and OutOfRange
  std::int64_t high = 0;
  std::optional<std::int64_t> row{};  // the scenario row whose text did not fit its record
  Indexed indexed = Indexed::Nothing;  // for OutOfRange and Missing: the array the index pointed into
};

// A runtime failure: a read that fails, a conversion that does not fit, an
// index outside its array, a file that cannot be written. Inside the compile
// passes it becomes status 25; anywhere else it ends the program with exit 2.
// what() is a plain sentence for the generator's own report.
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& what) : std::runtime_error(what) {}
  Failure(const std::string& what, FailureDetail detail) : std::runtime_error(what), detail_(std::move(detail)) {}

  const FailureDetail& detail() const { return detail_; }

 private:
  FailureDetail detail_;
};

}  // namespace scenario
