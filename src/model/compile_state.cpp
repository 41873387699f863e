// Creation of the train cell array, checked access to cells and rows, and the recording of broken rules.
#include "model/compile_state.h"

#include <string>

#include "platform/failure.h"
#include "model/legacy_math.h"

namespace scenario {

std::int32_t ultima_cella(std::int32_t route_length) {
  return round_to_i32((static_cast<double>(route_length) + kTailPastRoute) / kCellLength);
}

void crea_celle(CompileState& s, std::int32_t route_length) {
  std::int32_t count = ultima_cella(route_length);
  if (count < 0) {
    throw Failure("route length " + std::to_string(route_length) + " gives no train cells",
                  FailureDetail{.kind = FailureKind::OutOfRange,
                                .expected = "a route length that gives train cells",
                                .found = std::to_string(route_length),
                                .value = route_length,
                                .low = -kTailPastRoute,
                                .high = INT32_MAX});
  }
  s.scenario.CellCount = count;
  s.scenario.TrainCells.assign(static_cast<std::size_t>(count) + 1, TrainCell{});
  if (s.account) conta_celle_create(*s.account, count);
}

namespace {
[[noreturn]] void cell_out_of_range(const CompileState& s, std::int64_t index) {
  if (s.scenario.TrainCells.empty()) {
    throw Failure("the train cell array does not exist (no route length record)",
                  FailureDetail{.kind = FailureKind::Missing,
                                .expected = "train cells",
                                .value = index,
                                .indexed = Indexed::TrainCell});
  }
  throw Failure("train cell " + std::to_string(index) + " is outside 0.." + std::to_string(s.scenario.CellCount),
                FailureDetail{.kind = FailureKind::OutOfRange,
                              .expected = "a train cell",
                              .found = std::to_string(index),
                              .value = index,
                              .low = 0,
                              .high = s.scenario.CellCount,
                              .indexed = Indexed::TrainCell});
}
}  // namespace

TrainCell& cella(CompileState& s, std::int64_t index) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= s.scenario.TrainCells.size()) cell_out_of_range(s, index);
  return s.scenario.TrainCells[static_cast<std::size_t>(index)];
}

const TrainCell& cella(const CompileState& s, std::int64_t index) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= s.scenario.TrainCells.size()) cell_out_of_range(s, index);
  return s.scenario.TrainCells[static_cast<std::size_t>(index)];
}

bool oltre_le_celle(const Scenario& s, std::int64_t position, std::int32_t margin) {
  return (static_cast<double>(position) + margin) / kCellLength > static_cast<double>(s.CellCount);
}

namespace {
[[noreturn]] void row_out_of_range(std::int64_t row) {
    throw Failure("scenario row " + std::to_string(row) + " is outside 0.." + std::to_string(kScenarioRows - 1),
                  FailureDetail{.kind = FailureKind::OutOfRange,
                                .expected = "a scenario row",
                                .found = std::to_string(row),
                                .value = row,
                                .low = 0,
                                .high = kScenarioRows - 1,
                                .indexed = Indexed::ScenarioRow});
}
}  // namespace

ScenarioRecord& riga(CompileState& s, std::int64_t row) {
  if (row < 0 || row >= kScenarioRows) row_out_of_range(row);
  return s.scenario.ScenarioTable[static_cast<std::size_t>(row)];
}

const ScenarioRecord& riga(const CompileState& s, std::int64_t row) {
  if (row < 0 || row >= kScenarioRows) row_out_of_range(row);
  return s.scenario.ScenarioTable[static_cast<std::size_t>(row)];
}

TrainCell& scrivi_cella(CompileState& s, std::int64_t index, CellLayer layer) {
  return scrivi_cella(s, index, layer, s.account ? s.account->writer : owner::kNone);
}

TrainCell& scrivi_cella(CompileState& s, std::int64_t index, CellLayer layer, Owner who) {
  TrainCell& c = cella(s, index);
  if (s.account) conta_cella(*s.account, index, layer, who);
  return c;
}

ScenarioRecord& scrivi_riga(CompileState& s, std::int64_t row, RowField field) {
  return scrivi_riga(s, row, field, s.account ? s.account->writer : owner::kNone);
}

ScenarioRecord& scrivi_riga(CompileState& s, std::int64_t row, RowField field, Owner who) {
  ScenarioRecord& r = riga(s, row);
  if (s.account) conta_riga(*s.account, row, field, who);
  return r;
}

ScenarioRecord& scrivi_riga_intera(CompileState& s, std::int64_t row) {
  ScenarioRecord& r = riga(s, row);
  if (s.account) {
    for (std::size_t f = 0; f < kRowFields; ++f) conta_riga(*s.account, row, static_cast<RowField>(f), s.account->writer);
  }
  return r;
}

Owner scrivente(CompileState& s, Owner who) {
  if (!s.account) return owner::kNone;
  const Owner before = s.account->writer;
  s.account->writer = who;
  return before;
}

Diagnostic& segnala(Report& report, const RecordAt& r, Status status, std::optional<int> field) {
  report.StatusCode = status_number(status);
  Diagnostic d;
  d.status = status;
  d.source = r.source;
  if (r.kind != RecordKind::None) {
    d.record = r.kind;
    d.record_offset = r.record_offset;
  }
  if (field && *field >= 0 && *field <= r.fields_read) {
    d.field_index = field;
    d.field_offset = r.field_offsets[static_cast<std::size_t>(*field)];
  }
  report.Diagnostics.push_back(d);
  return report.Diagnostics.back();
}

Diagnostic diagnostica_a(Status status, const RecordPlace& place) {
  Diagnostic d;
  d.status = status;
  d.source = place.source;
  d.record = place.kind;
  if (place.source != SourceId::None) {
    d.record_offset = place.record_offset;
    d.field_offset = place.field_offset;
    d.field_index = place.field_index;
  }
  return d;
}

}  // namespace scenario
