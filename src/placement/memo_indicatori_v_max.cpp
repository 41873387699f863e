// Placement of a speed indicator board.
#include "model/legacy_math.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// v x 20 + d / 5 as a real, rounded half to even into 16 bits (throws when
// it does not fit).
std::int16_t board_value(std::int32_t v, std::int32_t d) {
  return round_to_i16(static_cast<double>(v) * 20.0 + static_cast<double>(d) / 5.0);
}

}  // namespace

void memo_indicatori_v_max(CompileState& s, const RecordAt& at, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces, std::int32_t vad,
                           std::int32_t vbd, std::int32_t vcd, std::int32_t strisced) {
  const std::int32_t c = cell_after(posizione);
  TrainCell& cell = cella(s, c);
  if (!is_free(cell)) {
    Diagnostic& d = segnala(s.report, at, Status::BoardCellTaken, 1);
    d.cell = c;
    d.metres = posizione;
    d.cell_holds = cell.Kind;
    return;
  }
  // All three values are computed before the cell is touched, so a value
  // that does not fit leaves the cell as it was.
  std::int16_t w1 = board_value(vas, vad);
  std::int16_t w2 = board_value(vbs, vbd);
  std::int16_t w3 = board_value(vcs, vcd);
  scrivi_cella(s, c, CellLayer::Object);
  cell.Kind = kind::kSpeedBoard;
  cell.Word1 = w1;
  cell.Word2 = w2;
  cell.Word3 = w3;
  cell.Word4 = low16(add32(mul32(strisces, 10), strisced));
}

}  // namespace scenario
