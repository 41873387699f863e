// Bounds checks that a placement makes before it writes any cell.
#include "placement/cell_bounds.h"

#include "platform/failure.h"

namespace scenario {

void require_cells(const CompileState& s, std::int64_t first, std::int64_t last, const std::string& what) {
  if (first > last) return;
  if (first >= 0 && last <= s.scenario.CellCount && !s.scenario.TrainCells.empty()) return;
  if (s.scenario.TrainCells.empty()) {
    throw Failure(what + " needs train cells " + std::to_string(first) + ".." + std::to_string(last) +
                      ", outside 0.." + std::to_string(s.scenario.CellCount),
                  FailureDetail{.kind = FailureKind::Missing,
                                .expected = "train cells",
                                .value = first,
                                .indexed = Indexed::TrainCell});
  }
  const std::int64_t outside = first < 0 ? first : last;
  throw Failure(what + " needs train cells " + std::to_string(first) + ".." + std::to_string(last) +
                    ", outside 0.." + std::to_string(s.scenario.CellCount),
                FailureDetail{.kind = FailureKind::OutOfRange,
                              .expected = "a train cell",
                              .found = std::to_string(first) + ".." + std::to_string(last),
                              .value = outside,
                              .low = 0,
                              .high = s.scenario.CellCount,
                              .indexed = Indexed::TrainCell});
}

}  // namespace scenario
