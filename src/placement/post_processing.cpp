// The pass that adds kind-12 speed marks around signals and slow orders.
#include <algorithm>

#include <vector>

#include "model/legacy_math.h"
#include "placement/placement.h"
#include "placement/post_processing.h"

namespace scenario {
namespace {

constexpr std::int16_t kMarkSpeed = 180;
// Slow orders at this speed or above get no marks inside them.
constexpr std::int16_t kUnmarkedSpeed = 110;
constexpr std::int32_t kLookBack = 20;
constexpr std::int32_t kMarkEvery = 8;
constexpr std::int32_t kSignalScan = 12;

bool is_kind(const CompileState& s, std::int32_t i, std::uint8_t k) { return cella(s, i).Kind == k; }
bool free_at(const CompileState& s, std::int32_t i) { return is_free(cella(s, i)); }

void mark(CompileState& s, std::int32_t i) {
  TrainCell& c = scrivi_cella(s, i, CellLayer::Object, owner::kSpeedMarks);
  c.Kind = kind::kReductionValue;
  c.Word1 = kMarkSpeed;
}

void cap(CompileState& s, std::int32_t i) {
  TrainCell& c = cella(s, i);
  const std::int16_t capped = low16(minimo(kMarkSpeed, c.Word1));
  if (capped != c.Word1) scrivi_cella(s, i, CellLayer::Object, owner::kSpeedMarks);
  c.Word1 = capped;
}

// The placed record whose cell is `cell`: its first value lies in the cell
// before (signals and slow orders take the cell after their position's).
const PlacedRecord* placed_at(const std::vector<PlacedRecord>& placed, std::int32_t cell) {
  for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
    if (cell_after(it->position) == cell) return &*it;
  }
  return nullptr;
}

// Sets the code at the cell's position and records it at the record behind
// it: the signal for 11, the slow order starting at `start` for 12 and 13.
void fail(CompileState& s, Status code, std::int32_t cell, const std::vector<PlacedRecord>& placed,
          std::int32_t record_cell) {
  s.report.StatusCode = status_number(code);
  s.report.StatusPosition = mul32(cell, kCellLength);
  const PlacedRecord* behind = placed_at(placed, record_cell);
  Diagnostic d = behind ? diagnostica_a(code, behind->place) : Diagnostic{.status = code};
  d.cell = cell;
  d.metres = s.report.StatusPosition;
  d.cell_holds = cella(s, cell).Kind;
  s.report.Diagnostics.push_back(d);
}

// A signal at j behind a warning: a mark in one of the two cells before it,
// or the cap of a mark already there (code 11 when neither is possible).
void protect_signal(CompileState& s, const std::vector<PlacedRecord>& signals, std::int32_t j) {
  if (free_at(s, j - 1)) {
    mark(s, j - 1);
  } else if (free_at(s, j - 2)) {
    mark(s, j - 2);
  } else if (is_kind(s, j - 1, kind::kReductionValue)) {
    cap(s, j - 1);
  } else if (is_kind(s, j - 2, kind::kReductionValue)) {
    cap(s, j - 2);
  } else {
    fail(s, Status::SignalMarkNoRoom, j, signals, j);
  }
}

// Rule A: every signal within 20 cells behind a warning, down to cell 3.
void behind_warning(CompileState& s, const std::vector<PlacedRecord>& signals, std::int32_t i) {
  for (std::int32_t d = 1; d <= kLookBack && i - d >= 3; ++d) {
    if (is_kind(s, i - d, kind::kSignal)) protect_signal(s, signals, i - d);
  }
}

// B1: the first free cell of each of three windows behind a start.
void windows_before_start(CompileState& s, const std::vector<PlacedRecord>& slow_orders, std::int32_t i) {
  static constexpr std::int32_t kNearest[3] = {5, 11, 18};
  for (std::int32_t near : kNearest) {
    std::int32_t far = near + 2;
    if (i <= far) continue;
    std::int32_t d = near;
    while (d <= far && !free_at(s, i - d)) ++d;
    if (d <= far) {
      mark(s, i - d);
    } else {
      fail(s, Status::SlowOrderApproachNoRoom, i, slow_orders, i);
    }
  }
}

// The 8th-cell mark at k, else at k - 1 or k + 1 (the latter only inside the
// array); returns the step counter that keeps the next mark 8 cells later.
std::int32_t mark_in_walk(CompileState& s, const std::vector<PlacedRecord>& slow_orders, std::int32_t k,
                          std::int32_t start) {
  if (free_at(s, k)) {
    mark(s, k);
    return 0;
  }
  if (free_at(s, k - 1)) {
    mark(s, k - 1);
    return 1;
  }
  if (k < s.scenario.CellCount && free_at(s, k + 1)) {
    mark(s, k + 1);
    return -1;
  }
  fail(s, Status::SlowOrderMarkNoRoom, k, slow_orders, start);
  return kMarkEvery;
}

// B2: walks from the start to the end cell, one mark every 8 cells. A slow
// order without an end cell stops at the last cell. Returns where it stopped.
std::int32_t walk_slow_order(CompileState& s, const std::vector<PlacedRecord>& slow_orders, std::int32_t i) {
  std::int32_t c = 0;
  std::int32_t k = i;
  while (k < s.scenario.CellCount) {
    ++k;
    ++c;
    if (c == kMarkEvery) c = mark_in_walk(s, slow_orders, k, i);
    if (is_kind(s, k, kind::kSlowEnd)) break;
  }
  return k;
}

// B3 and B4: a mark just before the first signal within 13 cells from the
// end cell k (scan bounded by the last cell).
void mark_before_next_signal(CompileState& s, const std::vector<PlacedRecord>& slow_orders, std::int32_t k,
                             std::int32_t start) {
  std::int32_t c = 0;
  std::int32_t last = std::min(k + kSignalScan, s.scenario.CellCount);
  for (std::int32_t m = k; m <= last; ++m) {
    if (is_kind(s, m, kind::kSignal)) {
      c = m - 1;
      break;
    }
  }
  if (c <= 0) return;
  if (free_at(s, c)) {
    mark(s, c);
  } else if (free_at(s, c - 1)) {
    mark(s, c - 1);
  } else {
    fail(s, Status::SlowOrderMarkNoRoom, k, slow_orders, start);
  }
}

// Rule B. At 110 or more there is no walk, so there is no end cell to scan
// from either: the signal after such a slow order gets no mark.
void around_slow_order(CompileState& s, const std::vector<PlacedRecord>& slow_orders, std::int32_t i) {
  windows_before_start(s, slow_orders, i);
  if (cella(s, i).Word1 >= kUnmarkedSpeed) return;
  mark_before_next_signal(s, slow_orders, walk_slow_order(s, slow_orders, i), i);
}

}  // namespace

void elabora_celle(CompileState& s, const Origins& origins) {
  cella(s, 0);  // the array must exist
  const std::int32_t last = s.scenario.CellCount - 2;
  for (std::int32_t i = 1; i <= last; ++i) {
    std::uint8_t k = cella(s, i).Kind;
    if (k == kind::kSlowWarning) {
      behind_warning(s, origins.signals, i);
    } else if (k == kind::kSlowStart) {
      around_slow_order(s, origins.slow_orders, i);
    }
  }
}

}  // namespace scenario
