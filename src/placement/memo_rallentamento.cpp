// Placement of a slow order: end, start, warning and approach cells.
#include <optional>

#include "model/legacy_math.h"
#include "placement/cell_bounds.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// A slow order starting above this position has a warning cell 1200 m ahead.
constexpr std::int32_t kWarningFrom = 1500;
constexpr std::int32_t kApproachCells = 4;
// The record's fields that place the cells: the start places all but the
// end, which the start and the length place together.
constexpr int kStartField = 1;
constexpr int kLengthField = 3;

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

// The first of the four approach cells that is taken, nearest the warning first.
std::optional<std::int32_t> taken_approach_cell(const CompileState& s, std::int32_t b) {
  for (std::int32_t n = 0; n < kApproachCells; ++n) {
    if (!is_free(cella(s, b - n))) return b - n;
  }
  return std::nullopt;
}

// Cells b, b - 1, b - 2, b - 3 carry 1 to 4, the nearest to the warning 1.
void place_approach_cells(CompileState& s, std::int32_t b, std::int32_t d_v) {
  for (std::int32_t n = 1; n <= kApproachCells; ++n) {
    TrainCell& cell = scrivi_cella(s, b - (n - 1), CellLayer::Object);
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

// A cell already taken: the code, the cell and the field that placed it there.
struct Refusal {
  Status status;
  std::int32_t cell;
  std::int32_t metres;
  int field;  // the start, or the length for the end cell
};

// The refusal for cells already taken (17 warning, 18 start, 19 end), or
// none when the slow order may be placed.
std::optional<Refusal> refusal(const CompileState& s, const SlowOrderCells& p, std::int32_t x, std::int32_t l) {
  if (p.warned && !free_cell(s, p.w, x, "the warning cell")) {
    return Refusal{Status::SlowOrderWarningTaken, p.w, sub32(x, kWarningDistance), kStartField};
  }
  if (!free_cell(s, p.st, x, "the start")) return Refusal{Status::SlowOrderStartTaken, p.st, x, kStartField};
  if (!free_cell(s, p.e, x, "the end")) return Refusal{Status::SlowOrderEndTaken, p.e, add32(x, l), kLengthField};
  return std::nullopt;
}

void refuse(CompileState& s, const RecordAt& at, const Refusal& r) {
  Diagnostic& d = segnala(s.report, at, r.status, r.field);
  d.cell = r.cell;
  d.metres = r.metres;
  d.cell_holds = cella(s, r.cell).Kind;
}

// End, start and warning cells; the start overwrites the end when both
// fall in one cell.
void place_main_cells(CompileState& s, const SlowOrderCells& p, std::int32_t v, std::int32_t f_tt,
                      std::int32_t d_v) {
  TrainCell& end = scrivi_cella(s, p.e, CellLayer::Object);
  end.Kind = kind::kSlowEnd;
  put_d_v(end, d_v);
  TrainCell& start = scrivi_cella(s, p.st, CellLayer::Object);
  start.Kind = kind::kSlowStart;
  put_d_v(start, d_v);
  if (p.warned) {
    TrainCell& warning = scrivi_cella(s, p.w, CellLayer::Object);
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

void memo_rallentamento(CompileState& s, const RecordAt& at, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v) {
  const SlowOrderCells p = slow_order_cells(x, l);
  const bool approach = p.warned && f_ta != 0;
  if (std::optional<Refusal> r = refusal(s, p, x, l)) {
    refuse(s, at, *r);
    return;
  }
  if (approach) {
    require_cells(s, std::int64_t{p.b} - 3, p.b, "the approach cells of the slow order at " + std::to_string(x) + " m");
  }
  place_main_cells(s, p, v, f_tt, d_v);
  if (!approach) return;
  // Code 20 leaves the cells already written in place.
  if (std::optional<std::int32_t> taken = taken_approach_cell(s, p.b)) {
    refuse(s, at, Refusal{Status::SlowOrderApproachTaken, *taken, sub32(x, kWarningDistance), kStartField});
    return;
  }
  place_approach_cells(s, p.b, d_v);
}

}  // namespace scenario
