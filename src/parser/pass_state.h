// The passes' own state beside the compile state: the record being read and what the passes note as they go.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/compile_state.h"
#include "placement/placement.h"

namespace scenario {

// The record the passes are reading, kept field by field so that a rule that
// breaks, or a runtime failure, can name the record and the field.
struct RecordReading {
  RecordAt at;
  bool reading = false;           // a field read has begun and not ended
  bool failure_recorded = false;  // the pass has recorded the runtime failure that ends it
};

// A chainage record as read, before the rows are sorted.
struct ChainageRead {
  RecordKind kind = RecordKind::None;
  std::size_t record_offset = 0;
  std::array<std::size_t, 3> field_offsets{};
  std::int32_t start = 0;
  std::int32_t base = 0;
  std::int32_t flag = 0;
};

// The state both passes share while they fill `s`. Nothing after the passes
// sees it: what the later steps need is in `origins`, which the passes hand
// over when they end.
struct PassState {
  explicit PassState(CompileState& state) : s(state) {}

  CompileState& s;
  RecordReading reading;
  RangeList ranges;  // the line body's "montagna" ranges, kept for memo_montagna
  Origins origins;   // handed to the speed marks and the stamp guard
  // The route length's field, where a failure that only follows from a
  // negative length is put.
  std::optional<RecordPlace> route_length;
  // The chainage records, for a row found not whole after the sort.
  std::vector<ChainageRead> chainages;
};

}  // namespace scenario
