// Finding the source records behind a compiler result, from the field notes and the texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compile/compile_outcome.h"
#include "compile/record_scan.h"

namespace scenario::tool {

// A record that carries positions along the route.
struct RecordKind {
  SourceId source;
  std::string_view first;   // sub-strings its keyword holds (case ignored)
  std::string_view second;  // "" when one is enough
  std::string_view name;    // "signal", "station", ...
  std::int32_t margin;      // bound check: (position + margin) / 50 <= CellCount
};

// The first positional record kind the keyword starts, in the compiler's
// order of tests; nothing for general records and unknown keywords.
const RecordKind* positional_kind(SourceId source, std::string_view keyword, bool line_plan);

struct FoundRecord {
  SourceId source = SourceId::None;
  const RecordKind* kind = nullptr;
  std::vector<RawField> fields;  // the keyword, then its numbers
};

// Every record (field noted as starting a record) of a source, re-read with
// up to `numbers` numeric fields, in text order.
std::vector<FoundRecord> noted_records(const CompileOutcome& r, SourceId source, std::size_t numbers);

// The record the trace points at, with up to `numbers` numeric fields.
FoundRecord traced_record(const CompileOutcome& r, std::size_t numbers);

// Station records of the train source up to and including the traced one:
// the row number of the station being read.
std::int32_t traced_station_number(const CompileOutcome& r);

// Indication sign records of the line source.
std::int32_t line_sign_count(const CompileOutcome& r);

// Cell indexes as the placement routines compute them: p / 50 and p / 50 + 1,
// rounded half to even.
std::int64_t cell_at(std::int64_t p);
std::int64_t cell_after_position(std::int64_t p);

// The first record whose position fails its bound check.
std::optional<FoundRecord> first_out_of_bounds(const CompileOutcome& r);

// The first record that places an object into cell 1.
std::optional<FoundRecord> first_record_in_cell_one(const CompileOutcome& r);

}  // namespace scenario::tool
