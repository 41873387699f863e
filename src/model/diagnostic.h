// What the compiler records about a rule that broke: which record, which field, which cell, and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/status.h"
#include "platform/failure.h"

namespace scenario {

enum class SourceId : std::uint8_t { None = 0, Line = 1, Train = 2 };

// The kinds of record the two sources hold. The parser's record table gives
// each its keywords, its fields and their meanings, and its display name.
enum class RecordKind : std::uint8_t {
  None,  // no record: the file as a whole, or a field that starts none
  // line source, general section
  RouteLength,
  ChainageThree,
  ChainageTwo,
  ChainageOne,
  BackgroundOne,
  BackgroundTwo,
  BackgroundThree,
  SignalRepetition,
  // line source, body
  Gradient,
  Curve,
  Montagna,
  SpeedBoards,
  Sign,
  // train source
  Mass,
  Cars,
  SpeedProfile,
  Adhesion,
  Clock,
  Sand,
  Signal,
  SlowOrder,
  Reduction,
  Station,
};

// One broken rule, recorded where it broke. Offsets are bytes in the
// source text; a diagnostic without a source is about the run as a whole.
struct Diagnostic {
  Status status = Status::Ok;
  SourceId source = SourceId::None;
  RecordKind record = RecordKind::None;
  std::optional<std::size_t> record_offset{};  // the record's keyword field
  std::optional<std::size_t> field_offset{};   // the field at fault
  std::optional<int> field_index{};            // 0 = the keyword, 1 = the first field after it, ...
  std::optional<std::int32_t> cell{};          // the train cell involved
  std::optional<std::int32_t> metres{};        // the position involved, in metres
  std::optional<std::uint8_t> cell_holds{};    // the kind the taken cell already held
  std::optional<FailureDetail> failure{};      // for a runtime failure: its typed reason
  std::string failure_text{};                  // and the plain sentence the generator reports for it
  // The reader takes fields across line ends, so a record that lacks a field
  // takes the next line's first field in its place. short_after is the index
  // of the first field that was read from a later line than the keyword;
  // fields_on_line is how many fields follow the keyword on its own line.
  std::optional<int> short_after{};
  std::optional<int> fields_on_line{};
  std::optional<std::int32_t> row{};           // the scenario row involved
  // The status was already set by an earlier rule (a bound check of the line
  // source); this record only ended the pass with it.
  bool restated = false;
  // For the stamp guard: the value in cell 1 came from the compiler's own
  // speed marks, not from a record.
  bool by_speed_marks = false;
};

}  // namespace scenario
