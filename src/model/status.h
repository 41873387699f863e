// Every status code the compiler can set, and the stamp guard's two codes.
#pragma once

#include <cstdint>
#include <string_view>

namespace scenario {

// The status word's code: the number of the last rule a source broke. The
// numbers are the ones the status word holds; docs/status-codes.md lists the
// same codes with their positions and what follows each.
enum class Status : std::int32_t {
  Ok = 0,                      // no rule broken
  RouteTooLong = 1,            // route length above 1000000 m
  ChainageNotWhole = 2,        // a chainage change's start or base is not a multiple of 50
  RepetitionStartNotWhole = 3, // signal repetition start not a multiple of 50
  RepetitionEndNotWhole = 4,   // signal repetition end not a multiple of 50
  RepetitionCodes = 5,         // signal repetition keyword names neither 4 nor 9 codes
  SignCellTaken = 6,           // an indication sign's cell is taken
  ReductionCellTaken = 7,      // a speed reduction's cell is taken
  StationNotWhole = 8,         // a station position is not a multiple of 50
  StationLengthNotWhole = 9,   // a station length is not a multiple of 100
  TooManyStations = 10,        // more stations than the rows the signs leave free
  SignalMarkNoRoom = 11,       // no room for the speed mark before a signal behind a slow-order warning
  SlowOrderApproachNoRoom = 12,  // no free cell in a window before a slow-order start
  SlowOrderMarkNoRoom = 13,    // no free cell for a mark inside or just after a slow order
  PastTrainCells = 15,         // a record's position lies beyond the train cells
  SignalCellTaken = 16,        // a signal's cell is taken
  SlowOrderWarningTaken = 17,  // a slow order's warning cell (1200 m before its start) is taken
  SlowOrderStartTaken = 18,    // a slow order's start cell is taken
  SlowOrderEndTaken = 19,      // a slow order's end cell is taken
  SlowOrderApproachTaken = 20, // one of a slow order's four approach cells is taken
  BoardCellTaken = 21,         // a speed indicator board's cell is taken
  StationTooClose = 22,        // a station zone starts less than 350 m after the previous one ends
  StopInCellOne = 24,          // a station's stopping point would fall on cell 1 or before
  RuntimeFailure = 25,         // a runtime failure while reading either source
  NoLineSource = 101,          // the line source file does not exist
  NoGeneralSection = 102,      // the line source ends before a field holding "[generale]"
  CurveFailed = 103,           // a curve keyword has no class digit, or the plan passes its last point
  GuardWord1 = 1250,           // stamp guard: row 85 Word1 or cell 1 Word1 was not 0 before stamping
  GuardWord2 = 1251,           // stamp guard: row 85 Time or cell 1 Word2 was not 0 before stamping
};

constexpr std::int32_t status_number(Status s) { return static_cast<std::int32_t>(s); }

}  // namespace scenario
