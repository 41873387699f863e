// Placement of a signal and of its four approach marks behind it.
#include "model/legacy_math.h"
#include "placement/cell_bounds.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// Signal times from 1 to 100 are raised to 101; others are kept.
std::int32_t signal_time(std::int32_t tempo) { return tempo >= 1 && tempo <= 100 ? 101 : tempo; }

}  // namespace

void memo_segnale(CompileState& s, const RecordAt& at, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx, std::int32_t d1,
                  std::int32_t d2, std::int32_t d3, std::int32_t tempo) {
  std::int32_t i = cell_after(posizione);
  TrainCell& cell = cella(s, i);
  if (!is_free(cell)) {
    Diagnostic& d = segnala(s.report, at, Status::SignalCellTaken, 1);
    d.cell = i;
    d.metres = posizione;
    d.cell_holds = cell.Kind;
    return;
  }
  require_cells(s, std::int64_t{i} - kSignalApproachReach, i, "signal at " + std::to_string(posizione) + " m");

  std::int32_t sides = add32(mul32(sx, 3), dx);
  scrivi_cella(s, i, CellLayer::Object);
  cell.Kind = kind::kSignal;
  cell.Word4 = low16(add32(mul32(rapp, 10), sides));
  cell.Word1 = low16(add32(mul32(s1, 10), d1));
  cell.Word2 = low16(add32(mul32(s2, 10), d2));
  cell.Word3 = low16(add32(mul32(s3, 10), d3));
  cell.Byte1 = sx == 2 ? low8(signal_time(tempo)) : 0;
  for (std::int32_t k = 1; k <= kSignalApproachMarks; ++k) {
    scrivi_cella(s, i - 2 * k, CellLayer::Approach).Byte2 = low8(add32(mul32(sides, 10), k));
  }
}

}  // namespace scenario
