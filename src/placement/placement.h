// Routines that place route objects into the train cells.
#pragma once

#include <array>
#include <cstdint>

#include "model/compile_state.h"

namespace scenario {

// How far before a slow order's start its warning cell stands, in metres.
inline constexpr std::int32_t kWarningDistance = 1200;

// A signal's four approach marks lie 2, 4, 6 and 8 cells behind its own cell.
inline constexpr std::int32_t kSignalApproachMarks = 4;
inline constexpr std::int32_t kSignalApproachReach = 2 * kSignalApproachMarks;

// The "montagna" ranges placed so far, entries 1 to 80 (entry 0 is never
// used): memo_montagna's own list, which the line pass keeps for it.
struct RangeList {
  static constexpr int kCapacity = 80;
  std::array<std::int32_t, kCapacity + 1> Starts{};
  std::array<std::int32_t, kCapacity + 1> Ends{};
  std::int32_t Count = 0;
  std::int32_t Flag = 0;  // set for one call when the type came in above 10
};

// The smaller of two numbers; on equality the first.
std::int32_t minimo(std::int32_t x, std::int32_t y);

// Orders the three chainage triples of rows 81 to 83 in place.
void progressive_ordina(CompileState& s);

// Places a "montagna" range and adds it to `ranges`; never refuses.
void memo_montagna(CompileState& s, RangeList& ranges, std::int32_t inizio, std::int32_t fine, std::int32_t tipo);

// The routines below place the record `at`, which a refusal names.

// Places a speed indicator board (refusal: status 21).
void memo_indicatori_v_max(CompileState& s, const RecordAt& at, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces, std::int32_t vad,
                           std::int32_t vbd, std::int32_t vcd, std::int32_t strisced);

// Places a signal and its four approach marks (refusal: status 16).
void memo_segnale(CompileState& s, const RecordAt& at, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx, std::int32_t d1,
                  std::int32_t d2, std::int32_t d3, std::int32_t tempo);

// Places a slow order (refusals: status 17 to 20).
void memo_rallentamento(CompileState& s, const RecordAt& at, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v);

}  // namespace scenario
