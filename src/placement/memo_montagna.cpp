// Placement of a "montagna" range: its type in Byte3 and every 4th marker.
#include "platform/failure.h"
#include "model/legacy_math.h"
#include "placement/cell_bounds.h"
#include "placement/placement.h"

namespace scenario {
namespace {

// Ranges closer than this to the previous range's end take type 3.
constexpr std::int32_t kJoinedRangeGap = 150;

void require_free_entry(const RangeList& r, std::int32_t inizio) {
  if (r.Count >= RangeList::kCapacity) {
    throw Failure("montagna range at " + std::to_string(inizio) + " m: the range list holds only " +
                      std::to_string(RangeList::kCapacity) + " ranges",
                  FailureDetail{.kind = FailureKind::Full,
                                .expected = "a free entry in the range list",
                                .value = inizio,
                                .low = 1,
                                .high = RangeList::kCapacity});
  }
}

}  // namespace

void memo_montagna(CompileState& s, RangeList& r, std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  require_free_entry(r, inizio);
  // Cells inizio/50 to fine/50 - 1, each bound rounded once from the real quotient.
  std::int32_t first = cell_of(inizio);
  std::int32_t last = round_to_i32(fine / static_cast<double>(kCellLength) - 1.0);
  require_cells(s, first, last, "montagna range " + std::to_string(inizio) + ".." + std::to_string(fine) + " m");

  r.Flag = 0;
  if (tipo > 10) {
    r.Flag = 1;
    tipo = sub32(tipo, 10);
  }
  r.Count += 1;
  r.Starts[r.Count] = inizio;
  r.Ends[r.Count] = fine;
  if (r.Count > 1 && sub32(inizio, r.Ends[r.Count - 1]) <= kJoinedRangeGap) tipo = 3;

  std::int32_t n = 0;
  for (std::int32_t c = first; c <= last; ++c) {
    TrainCell& cell = scrivi_cella(s, c, CellLayer::Range);
    cell.Byte3 = low8(tipo);
    ++n;
    if (r.Flag != 0 && n % 4 == 0 && cell.Kind == kind::kEmpty) {
      scrivi_cella(s, c, CellLayer::Object);
      cell.Kind = kind::kRangeMarker;
    }
  }
}

}  // namespace scenario
