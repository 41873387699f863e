// What the compiler records about a rule that broke: which record, which field, which cell, and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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
  std::optional<std::size_t> record_offset;  // the record's keyword field
  std::optional<std::size_t> field_offset;   // the field at fault
  std::optional<int> field_index;            // 0 = the keyword, 1 = the first field after it, ...
  std::optional<std::int32_t> cell;          // the train cell involved
  std::optional<std::int32_t> metres;        // the position involved, in metres
  std::optional<std::uint8_t> cell_holds;    // the kind the taken cell already held
  std::optional<FailureDetail> failure;      // for a runtime failure: its typed reason
};

}  // namespace scenario
