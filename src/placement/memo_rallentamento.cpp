// Placement of a slow order: end, start, warning and approach cells.
#include "model/legacy_math.h"
#include "placement/cell_bounds.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// A slow order starting above this position has a warning cell 1200 m ahead.
constexpr std::int32_t kWarningFrom = 1500;
constexpr std::int32_t kWarningDistance = 1200;

// Writes d_v into Word2 only when it is not 0.
void put_d_v(TrainCell& cell, std::int32_t d_v) {
  if (d_v != 0) cell.Word2 = low16(d_v);
}

// Whether cell i is free; an index outside the array is a runtime failure
// that names the slow order and the part of it that does not fit.
bool free_cell(const CompileState& s, std::int32_t i, std::int32_t x, const char* part) {
  require_cells(s, i, i, std::string(part) + " of the slow order at " + std::to_string(x) + " m");
  return is_free(cella(s, i));
}

bool approach_cells_free(const CompileState& s, std::int32_t b) {
  for (std::int32_t n = 0; n < 4; ++n) {
    if (!is_free(cella(s, b - n))) return false;
  }
  return true;
}

// Cells b, b - 1, b - 2, b - 3 carry 1 to 4, the nearest to the warning 1.
void place_approach_cells(CompileState& s, std::int32_t b, std::int32_t d_v) {
  for (std::int32_t n = 1; n <= 4; ++n) {
    TrainCell& cell = cella(s, b - (n - 1));
    cell.Kind = kind::kSlowApproach;
    cell.Word1 = low16(n);
    if (d_v != 0) cell.Word2 = low16(n);
  }
}

// The cells of one slow order, as indices into the train cell array.
struct SlowOrderCells {
  bool warned;      // the start lies far enough in for a warning cell
  std::int32_t st;  // start
  std::int32_t e;   // end
  std::int32_t w;   // warning, 1200 m ahead of the start
  std::int32_t b;   // nearest approach cell, just ahead of the warning
};

SlowOrderCells slow_order_cells(std::int32_t x, std::int32_t l) {
  return SlowOrderCells{x > kWarningFrom, cell_after(x), cell_after(add32(x, l)),
                        cell_after(sub32(x, kWarningDistance)), cell_of(sub32(x, kWarningDistance))};
}

// The refusal code for cells already taken (17 warning, 18 start, 19 end),
// or 0 when the slow order may be placed.
std::int32_t refusal(const CompileState& s, const SlowOrderCells& p, std::int32_t x) {
  if (p.warned && !free_cell(s, p.w, x, "the warning cell")) return 17;
  if (!free_cell(s, p.st, x, "the start")) return 18;
  if (!free_cell(s, p.e, x, "the end")) return 19;
  return 0;
}

// End, start and warning cells; the start overwrites the end when both
// fall in one cell.
void place_main_cells(CompileState& s, const SlowOrderCells& p, std::int32_t v, std::int32_t f_tt,
                      std::int32_t d_v) {
  TrainCell& end = cella(s, p.e);
  end.Kind = kind::kSlowEnd;
  put_d_v(end, d_v);
  TrainCell& start = cella(s, p.st);
  start.Kind = kind::kSlowStart;
  put_d_v(start, d_v);
  if (p.warned) {
    TrainCell& warning = cella(s, p.w);
    warning.Kind = kind::kSlowWarning;
    put_d_v(warning, d_v);
    warning.Word1 = low16(v);
  }
  for (TrainCell* c : {&start, &end}) {
    c->Word1 = low16(v);
    c->Word3 = low16(f_tt);
  }
}

}  // namespace

void memo_rallentamento(CompileState& s, std::int32_t x, std::int32_t v, std::int32_t l, std::int32_t f_tt,
                        std::int32_t f_ta, std::int32_t d_v) {
  const SlowOrderCells p = slow_order_cells(x, l);
  const bool approach = p.warned && f_ta != 0;
  if (std::int32_t code = refusal(s, p, x)) {
    s.StatusCode = code;
    return;
  }
  if (approach) {
    require_cells(s, std::int64_t{p.b} - 3, p.b, "the approach cells of the slow order at " + std::to_string(x) + " m");
  }
  place_main_cells(s, p, v, f_tt, d_v);
  if (!approach) return;
  // Code 20 leaves the cells already written in place.
  if (!approach_cells_free(s, p.b)) {
    s.StatusCode = 20;
    return;
  }
  place_approach_cells(s, p.b, d_v);
}

}  // namespace scenario
