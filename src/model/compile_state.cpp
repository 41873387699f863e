// Creation of the train cell array and checked access to cells and rows.
#include "model/compile_state.h"

#include <string>

#include "platform/failure.h"
#include "model/legacy_math.h"

namespace scenario {

void crea_celle(CompileState& s, std::int32_t route_length) {
  std::int32_t count = round_to_i32((static_cast<double>(route_length) + 7000.0) / 50.0);
  if (count < 0) throw Failure("route length " + std::to_string(route_length) + " gives no train cells");
  s.CellCount = count;
  s.TrainCells.assign(static_cast<std::size_t>(count) + 1, TrainCell{});
}

namespace {
[[noreturn]] void cell_out_of_range(const CompileState& s, std::int64_t index) {
  if (s.TrainCells.empty()) throw Failure("the train cell array does not exist (no route length record)");
  throw Failure("train cell " + std::to_string(index) + " is outside 0.." + std::to_string(s.CellCount));
}
}  // namespace

TrainCell& cella(CompileState& s, std::int64_t index) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= s.TrainCells.size()) cell_out_of_range(s, index);
  return s.TrainCells[static_cast<std::size_t>(index)];
}

const TrainCell& cella(const CompileState& s, std::int64_t index) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= s.TrainCells.size()) cell_out_of_range(s, index);
  return s.TrainCells[static_cast<std::size_t>(index)];
}

bool oltre_le_celle(const CompileState& s, std::int64_t position, std::int32_t margin) {
  return (static_cast<double>(position) + margin) / 50.0 > static_cast<double>(s.CellCount);
}

ScenarioRecord& riga(CompileState& s, std::int64_t row) {
  if (row < 0 || row >= kScenarioRows) {
    throw Failure("scenario row " + std::to_string(row) + " is outside 0.." + std::to_string(kScenarioRows - 1));
  }
  return s.ScenarioTable[static_cast<std::size_t>(row)];
}

}  // namespace scenario
