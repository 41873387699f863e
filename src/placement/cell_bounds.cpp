// Bounds checks that a placement makes before it writes any cell.
#include "placement/cell_bounds.h"

#include "platform/failure.h"

namespace scenario {

void require_cells(const CompileState& s, std::int64_t first, std::int64_t last, const std::string& what) {
  if (first > last) return;
  if (first >= 0 && last <= s.CellCount && !s.TrainCells.empty()) return;
  throw Failure(what + " needs train cells " + std::to_string(first) + ".." + std::to_string(last) +
                ", outside 0.." + std::to_string(s.CellCount));
}

}  // namespace scenario
